#include "app/replay/summary.h"

#include <cstdio>

namespace replay {

std::string summaryLine(const RunFigures& figures) {
    char line[160];
    std::snprintf(line, sizeof line,
                  "virtual time %lld ms, %lld ticks, wall time %.3f s, %.0f ticks per wall second",
                  static_cast<long long>(figures.virtualMs), static_cast<long long>(figures.ticks),
                  figures.wallSeconds, figures.ticksPerWallSecond());
    return line;
}

std::string summaryJson(const RunFigures& figures) {
    char line[200];
    std::snprintf(line, sizeof line,
                  "{\"virtual_ms\":%lld,\"ticks\":%lld,\"wall_seconds\":%.6f,"
                  "\"ticks_per_wall_second\":%.0f,\"undelivered_events\":%zu}\n",
                  static_cast<long long>(figures.virtualMs), static_cast<long long>(figures.ticks),
                  figures.wallSeconds, figures.ticksPerWallSecond(), figures.undeliveredEvents);
    return line;
}

}  // namespace replay
