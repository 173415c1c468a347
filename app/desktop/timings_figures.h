#pragma once

#include <string>
#include <vector>

namespace desktop {

// One line of the file gulpo --timings writes.
struct TimingsLine {
    std::string what;  // tick, key, ghost, start, ..., wait, wait_end, beep, paint
    long long ns = 0;  // the monotonic clock
    long long t = -1;  // the game's clock, where the line has it
    long long beeps = -1;
};

// The lines of a timings file; none if it cannot be read.
std::vector<TimingsLine> readTimings(const std::string& path);

// The ticks' pace in real time, from one tick to the next, leaving out the
// stretches that hold a wait (a lost life's two-second freeze).
struct TickPace {
    long long ticks = 0;
    double perSecond = 0;
    double longestGapMs = 0;
    double playedSeconds = 0;
};
TickPace tickPace(const std::vector<TimingsLine>& lines);

// The main window's repaints from one tick to the next, over the stretches
// where nothing but the tick ran (no key, frightened timer or wait).
struct PaintsPerTick {
    long long stretches = 0;
    long long most = 0;
    long long overOne = 0;
    long long paints = 0;
};
PaintsPerTick paintsPerTick(const std::vector<TimingsLine>& lines);

}  // namespace desktop
