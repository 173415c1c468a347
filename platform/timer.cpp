#include "platform/timer.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

// The shortest period the platform keeps: 60 events a second.
constexpr std::int64_t kEventsPerSecond = 60;

bool fasterThanResolution(int interval) {
    return static_cast<std::int64_t>(interval) * kEventsPerSecond < 1000;
}

}  // namespace

Timer::Timer(std::string name, int interval, bool enabled)
    : name_(std::move(name)), interval_(interval < 0 ? 0 : interval), enabled_(enabled) {}

Timer::~Timer() {
    if (scheduler_ != nullptr) {
        scheduler_->remove(*this);
    }
}

std::int64_t Timer::dueTime(std::int64_t n) const {
    if (fasterThanResolution(interval_)) {
        // ceil(n * 1000 / 60): never early.
        return startMs_ + (n * 1000 + kEventsPerSecond - 1) / kEventsPerSecond;
    }
    return startMs_ + n * interval_;
}

std::int64_t Timer::slotsDueBy(std::int64_t now) const {
    const std::int64_t elapsed = now - startMs_;
    if (elapsed <= 0) {
        return 0;
    }
    if (fasterThanResolution(interval_)) {
        return elapsed * kEventsPerSecond / 1000;
    }
    return elapsed / interval_;
}

void Timer::restart() {
    startMs_ = scheduler_ != nullptr ? scheduler_->now() : 0;
    lastSlot_ = 0;
    nextDue_ = dueTime(1);
}

void Timer::setEnabled(bool enabled) {
    const bool wasEnabled = enabled_;
    enabled_ = enabled;
    if (enabled && !wasEnabled) {
        restart();
    }
}

void Timer::setInterval(int ms) {
    interval_ = ms < 0 ? 0 : ms;
    restart();
}

void TimerScheduler::add(Timer& timer) {
    timer.scheduler_ = this;
    timers_.push_back(&timer);
    timer.restart();
}

void TimerScheduler::remove(Timer& timer) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), &timer), timers_.end());
    timer.scheduler_ = nullptr;
}

bool TimerScheduler::nextDue(std::int64_t& when, Timer*& which) const {
    bool found = false;
    for (Timer* t : timers_) {
        if (!t->running() || t->inHandler_) {
            continue;
        }
        const std::int64_t due = t->nextDue_;
        if (!found || due < when) {
            when = due;
            which = t;
            found = true;
        }
    }
    return found;
}

void TimerScheduler::fire(Timer& timer) {
    timer.lastSlot_ = std::max(timer.lastSlot_ + 1, timer.slotsDueBy(clock_.nowMs()));
    timer.nextDue_ = timer.dueTime(timer.lastSlot_ + 1);
    timer.inHandler_ = true;
    struct Done {
        Timer& t;
        ~Done() { t.inHandler_ = false; }
    } done{timer};
    if (timer.onTimer) {
        if (runner) {
            runner(timer.onTimer);
        } else {
            timer.onTimer();
        }
    }
}

}  // namespace platform
