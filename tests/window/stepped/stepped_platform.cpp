#include "tests/window/stepped/stepped_platform.h"

#include <algorithm>
#include <utility>

namespace window_test {

void SteppedPlatform::Sleep(int ms) {
    if (whileWaiting) {
        const auto hold = std::exchange(whileWaiting, nullptr);
        hold();
    }
    if (ms > 0) {
        now_ += ms;
    }
}

void SteppedPlatform::advance(std::int64_t ms) {
    const std::int64_t target = now_ + std::max<std::int64_t>(ms, 0);
    std::int64_t due = 0;
    platform::Timer* timer = nullptr;
    while (!ending() && timers().nextDue(due, timer) && due <= target) {
        now_ = std::max(now_, due);
        DoEvents();
    }
    // A wait inside a handler may have carried the clock past the target.
    now_ = std::max(now_, target);
    DoEvents();
}

}  // namespace window_test
