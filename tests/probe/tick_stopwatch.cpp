#include "tests/probe/tick_stopwatch.h"

#include <algorithm>
#include <cstdio>

namespace probe {

void TickStopwatch::handlerReturned(game::Handler handler, int /*detail*/) {
    if (handler != game::Handler::tick) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (ticks_ > 0 && !froze_) {
        const double gap = std::chrono::duration<double, std::milli>(now - last_).count();
        longest_ = std::max(longest_, gap);
        measuredMs_ += gap;
        ++intervals_;
    }
    froze_ = false;
    last_ = now;
    ++ticks_;
}

void TickStopwatch::waitBegan(int /*ms*/) {
    froze_ = true;
}

void TickStopwatch::report() const {
    const double rate =
        measuredMs_ > 0 ? static_cast<double>(intervals_) * 1000.0 / measuredMs_ : 0;
    std::fprintf(stderr,
                 "tick-probe: %lld ticks, %.2f ticks/s over %.3f s of play, longest gap %.2f ms\n",
                 ticks_, rate, measuredMs_ / 1000.0, longest_);
}

}  // namespace probe
