#pragma once

#include <cstdint>
#include <functional>

#include "platform/rnd.h"
#include "platform/timer.h"

namespace platform {

class Form;

// The operations of the toolkit that are not elements: the event pump, the
// clock, sleep, the random sequence and the system sound, plus the windows
// shown on screen. Two backends stand behind it: the simulated one (virtual
// time, scripted input) and the desktop one.
class Platform : public Clock {
  public:
    Platform() : timers_(*this) {
        timers_.runner = [this](const std::function<void()>& handler) { dispatch(handler); };
    }
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;
    ~Platform() override = default;

    // Milliseconds since an arbitrary start, 32-bit.
    std::uint32_t timeGetTime() const { return static_cast<std::uint32_t>(nowMs()); }
    // Blocks for that long (virtual time on the simulated backend).
    virtual void Sleep(int ms) = 0;
    // Runs every pending window event (keys, clicks, timer events).
    virtual void DoEvents() = 0;
    void Beep() {
        ++beeps_;
        sound();
    }
    float Rnd() { return random_.next(); }

    std::int64_t beeps() const { return beeps_; }

    TimerScheduler& timers() { return timers_; }

    // Showing windows: the desktop backend gives each form a window on
    // screen; the simulated one keeps none.
    virtual void attach(Form& form) = 0;

    // The program is ending (its main window was closed): the pump delivers
    // nothing more and waits return early.
    bool ending() const { return ending_; }
    virtual void endProgram() { ending_ = true; }

    // Runs one event's handler. depth() is 0 inside a handler run from the
    // main loop, 1 inside one run by the pump within it, and so on.
    void dispatch(const std::function<void()>& handler) {
        struct Nest {
            int& d;
            explicit Nest(int& depth) : d(depth) { ++d; }
            ~Nest() { --d; }
        } nest{nesting_};
        handler();
    }
    int depth() const { return nesting_ - 1; }

  protected:
    virtual void sound() = 0;

  private:
    TimerScheduler timers_;
    RandomSequence random_;
    std::int64_t beeps_ = 0;
    int nesting_ = 0;
    bool ending_ = false;
};

}  // namespace platform
