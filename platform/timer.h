#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

class TimerScheduler;

// A timer element: fires its event every Interval milliseconds while Enabled
// is True and Interval is above 0. The platform delivers at most 60 events a
// second per timer, so an Interval below 17 ms fires every 1000/60 ms. The
// n-th event after a start falls at n periods after it, without drift; slots
// missed while the handler still runs fold into one event.
class Timer {
  public:
    Timer(std::string name, int interval, bool enabled);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    const std::string& name() const { return name_; }
    bool Enabled() const { return enabled_; }
    int Interval() const { return interval_; }

    // Enabled = True on a disabled timer starts its interval afresh.
    void setEnabled(bool enabled);
    // Interval 0 stops the timer; a positive value (re)starts its count.
    void setInterval(int ms);

    // True while the timer would fire: enabled with a positive interval.
    bool running() const { return enabled_ && interval_ > 0; }
    // True while its handler runs; the timer is not fired again until then.
    bool inHandler() const { return inHandler_; }

    std::function<void()> onTimer;

  private:
    friend class TimerScheduler;

    // Time of the event numbered n (1, 2, ...) after the start.
    std::int64_t dueTime(std::int64_t n) const;
    // The number of the last event slot that has fallen due by now.
    std::int64_t slotsDueBy(std::int64_t now) const;
    void restart();

    std::string name_;
    int interval_;
    bool enabled_;
    bool inHandler_ = false;
    std::int64_t startMs_ = 0;
    std::int64_t lastSlot_ = 0;
    std::int64_t nextDue_ = 0;  // dueTime(lastSlot_ + 1), kept with it
    TimerScheduler* scheduler_ = nullptr;
};

// The source of time the timers run on.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() const = 0;
};

// Keeps the timers of a program and delivers their events on a clock.
class TimerScheduler {
  public:
    explicit TimerScheduler(const Clock& clock) : clock_(clock) {}

    void add(Timer& timer);
    void remove(Timer& timer);

    // The earliest due time of any timer that may fire now, if there is one.
    bool nextDue(std::int64_t& when, Timer*& which) const;
    // Fires the timer's event now (through the runner given, which wraps
    // the handler call), folding every slot due by now into this one.
    void fire(Timer& timer);

    std::int64_t now() const { return clock_.nowMs(); }

    // Wraps every handler call (the platform counts handler depth with it).
    std::function<void(const std::function<void()>&)> runner;

  private:
    const Clock& clock_;
    std::vector<Timer*> timers_;
};

}  // namespace platform
