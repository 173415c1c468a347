#include "platform/platform.h"

#include <algorithm>

namespace platform {

void Platform::post(std::int64_t t, std::function<void()> event) {
    input_.emplace(std::make_pair(t, sequence_++), std::move(event));
}

void Platform::takeInput(const Input& input, std::int64_t at) {
    // After the last delivery (which happened at now) and within the time
    // the clock is being paced to.
    const std::int64_t earliest = now_ + 1;
    const std::int64_t t = std::clamp(at, earliest, std::max(earliest, pacingTo_));
    if (onInput && !ending_) {
        onInput(input, t);
    }
}

void Platform::Sleep(int ms) {
    if (ms <= 0) {
        return;
    }
    const std::int64_t target = now_ + ms;
    if (target >= stop_) {
        now_ = stop_;
        throw RunStopped{};
    }
    // Input taken meanwhile waits for the pump that follows the sleep.
    while (allowed_ < target && !ending_) {
        pacingTo_ = target;
        allowed_ = std::max(now_, pace(target));
    }
    now_ = target;
}

bool Platform::deliverOneDue() {
    if (ending_) {
        return false;
    }
    std::int64_t due = 0;
    Timer* timer = nullptr;
    const bool timerDue = timers_.nextDue(due, timer) && due <= now_;
    const bool inputDue = !input_.empty() && input_.begin()->first.first <= now_;
    if (inputDue && (!timerDue || input_.begin()->first.first <= due)) {
        auto node = input_.extract(input_.begin());
        dispatch(node.mapped());
        return true;
    }
    if (timerDue) {
        timers_.fire(*timer);
        return true;
    }
    return false;
}

void Platform::DoEvents() {
    while (deliverOneDue()) {
    }
}

std::int64_t Platform::nextEventTime() {
    for (;;) {
        std::int64_t next = stop_;
        if (!input_.empty()) {
            next = std::min(next, input_.begin()->first.first);
        }
        std::int64_t due = 0;
        Timer* timer = nullptr;
        if (timers_.nextDue(due, timer)) {
            next = std::min(next, due);
        }
        if (next <= allowed_ || ending_) {
            return next;
        }
        pacingTo_ = next;
        allowed_ = std::max(now_, pace(next));
    }
}

void Platform::stopNow() {
    stop_ = now_;
    throw RunStopped{};
}

std::int64_t Platform::run(std::int64_t stopMs) {
    stop_ = stopMs;
    try {
        while (!ending_) {
            if (now_ >= stop_) {
                now_ = stop_;
                break;
            }
            DoEvents();
            if (ending_) {
                break;
            }
            const std::int64_t next = nextEventTime();
            if (ending_) {
                break;
            }
            now_ = std::max(now_, next);
        }
    } catch (const RunStopped&) {
    }
    // Between runs the clock may be driven directly, with no stop ahead.
    stop_ = kNever;
    return now_;
}

}  // namespace platform
