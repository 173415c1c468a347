#include <algorithm>
#include <cstdint>

#include "game/frm_gulpo.h"

namespace game {

// Waits while the window goes on handling its events: sleeps in slices of a
// tenth of the time (at most 100 ms) and runs the pending events between
// them. Returns early once the program is ending.
void FrmGulpo::Wait(std::int32_t milliseconds) {
    if (events_ != nullptr) {
        events_->waitBegan(milliseconds);
    }
    const std::uint32_t start = platform_.timeGetTime();
    std::int32_t slice = milliseconds / 10;
    if (slice > 100) {
        slice = 100;
    }
    const std::uint32_t end = start + static_cast<std::uint32_t>(milliseconds);
    auto remainingNow = [&] { return static_cast<std::int32_t>(end - platform_.timeGetTime()); };
    platform_.DoEvents();
    std::int32_t remaining = remainingNow();
    while (remaining > slice && !platform_.ending()) {
        // A slice under a millisecond would spin without sleeping at all.
        platform_.Sleep(std::max(slice, 1));
        platform_.DoEvents();
        remaining = remainingNow();
    }
    if (remaining > 0 && !platform_.ending()) {
        platform_.Sleep(remaining);
    }
    if (events_ != nullptr) {
        events_->waitEnded();
    }
}

}  // namespace game
