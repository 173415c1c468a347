#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sessions/sink_recorder.h"

namespace sessions {

// A beep of the game (a dot eaten), as the timings of gulpo --timings have it.
struct DotTick {
    Nanos at = 0;         // as the game asked for the sound, on the steady clock
    long long tick = 0;   // the number of the tick it came in, from 1
    long long beeps = 0;  // the beeps so far
};

// Every beep of the timings so far.
std::vector<DotTick> readDotTicks(const std::string& timingsPath);

// What reached the sink for one dot.
struct DotSound {
    DotTick dot;
    // The sink was silent in the 60 ms before the tick, so the first sound
    // after it is this dot's own.
    bool silentBefore = false;
    // From the tick to the first frame louder than silence, if one came
    // within the window.
    std::optional<double> delayMs;
};

// The sound of each dot eaten at least 300 ms after the one before it (the
// bell is 140 ms long, so closer dots run into each other's sound), looking
// `windowMs` past each tick. Dots whose window has not been recorded yet are
// left out.
std::vector<DotSound> dotSounds(const std::vector<DotTick>& dots, const SinkRecorder& sink,
                                double windowMs);

}  // namespace sessions
