#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace replay {

// What a run came to, for the person at the terminal and for scripts.
struct RunFigures {
    std::int64_t virtualMs = 0;
    std::int64_t ticks = 0;
    double wallSeconds = 0;
    // Script events the run stopped short of (see Replay::cutOff).
    std::size_t undeliveredEvents = 0;

    double ticksPerWallSecond() const {
        return wallSeconds > 0 ? static_cast<double>(ticks) / wallSeconds : 0.0;
    }
};

// "virtual time 9000 ms, 412 ticks, wall time 0.002 s, 206000 ticks per
// wall second"
std::string summaryLine(const RunFigures& figures);

// The same figures as one JSON object on one line, keys virtual_ms, ticks,
// wall_seconds, ticks_per_wall_second and undelivered_events.
std::string summaryJson(const RunFigures& figures);

}  // namespace replay
