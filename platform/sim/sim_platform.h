#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "platform/platform.h"

namespace platform {

// Thrown through the handlers when a simulated run reaches its stop time.
struct RunStopped {};

// The simulated backend: a virtual millisecond clock from 0, scripted input,
// no threads and no wall clock. Sleep advances the clock; the pump delivers
// every input and timer event due by now in time order (input first when
// both fall on the same millisecond); the main loop jumps from one due event
// to the next.
class SimPlatform : public Platform {
  public:
    std::int64_t nowMs() const override { return now_; }
    void Sleep(int ms) override;
    void DoEvents() override;
    void attach(Form& /*form*/) override {}

    // Queues an input event for virtual time t; events of the same time run
    // in the order they were queued.
    void post(std::int64_t t, std::function<void()> event);

    // Runs the main loop until the clock reaches stopMs, the program ends or
    // an event stops the run (stopNow). Returns the virtual time reached.
    std::int64_t run(std::int64_t stopMs);

    // Ends the run at once, also in the middle of a wait.
    [[noreturn]] void stopNow();

  protected:
    void sound() override {}

  private:
    bool deliverOneDue();
    bool nextEventTime(std::int64_t& when) const;

    std::int64_t now_ = 0;
    std::int64_t stop_ = INT64_MAX;
    std::uint64_t sequence_ = 0;
    std::map<std::pair<std::int64_t, std::uint64_t>, std::function<void()>> input_;
};

}  // namespace platform
