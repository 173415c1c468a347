#include "platform/sim/sim_platform.h"

namespace platform {

void SimPlatform::Sleep(int ms) {
    if (ms <= 0) {
        return;
    }
    if (now_ + ms >= stop_) {
        now_ = stop_;
        throw RunStopped{};
    }
    now_ += ms;
}

void SimPlatform::post(std::int64_t t, std::function<void()> event) {
    input_.emplace(std::make_pair(t, sequence_++), std::move(event));
}

bool SimPlatform::nextEventTime(std::int64_t& when) const {
    bool found = false;
    if (!input_.empty()) {
        when = input_.begin()->first.first;
        found = true;
    }
    std::int64_t due = 0;
    Timer* timer = nullptr;
    if (const_cast<SimPlatform*>(this)->timers().nextDue(due, timer) && (!found || due < when)) {
        when = due;
        found = true;
    }
    return found;
}

bool SimPlatform::deliverOneDue() {
    if (ending()) {
        return false;
    }
    std::int64_t due = 0;
    Timer* timer = nullptr;
    const bool timerDue = timers().nextDue(due, timer) && due <= now_;
    const bool inputDue = !input_.empty() && input_.begin()->first.first <= now_;
    if (inputDue && (!timerDue || input_.begin()->first.first <= due)) {
        auto node = input_.extract(input_.begin());
        dispatch(node.mapped());
        return true;
    }
    if (timerDue) {
        timers().fire(*timer);
        return true;
    }
    return false;
}

void SimPlatform::DoEvents() {
    while (deliverOneDue()) {
    }
}

void SimPlatform::stopNow() {
    stop_ = now_;
    throw RunStopped{};
}

std::int64_t SimPlatform::run(std::int64_t stopMs) {
    stop_ = stopMs;
    try {
        while (!ending()) {
            if (now_ >= stop_) {
                now_ = stop_;
                break;
            }
            DoEvents();
            if (ending()) {
                break;
            }
            std::int64_t next = 0;
            if (!nextEventTime(next) || next >= stop_) {
                now_ = stop_;
                break;
            }
            now_ = next;
        }
    } catch (const RunStopped&) {
    }
    // Between runs the clock may be driven directly, with no stop ahead.
    stop_ = INT64_MAX;
    return now_;
}

}  // namespace platform
