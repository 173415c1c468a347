#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "platform/input.h"
#include "platform/rnd.h"
#include "platform/timer.h"

namespace platform {

class Form;

// A clock reading no run ever reaches.
inline constexpr std::int64_t kNever = INT64_MAX;

// Thrown through the handlers when a run reaches its stop time.
struct RunStopped {};

// The operations of the toolkit that are not elements: the event pump, the
// clock, sleep, the random sequence and the system sound, plus the windows
// shown on screen.
//
// Time is the game's own millisecond clock, and one loop here delivers the
// timers and the input on it, in one order, whatever the backend: input
// first when both fall due on the same millisecond, each event at its own
// time from the main loop, and whatever fell due during a sleep at the
// pump that follows it. What the game does therefore depends only on its
// inputs and their times. The backends differ in where input comes from,
// how the clock is paced (flat out, to real time, or stepped by a test) and
// what shows the windows.
class Platform : public Clock {
  public:
    Platform() : timers_(*this) {
        timers_.runner = [this](const std::function<void()>& handler) { dispatch(handler); };
    }
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;
    ~Platform() override = default;

    std::int64_t nowMs() const override { return now_; }
    // Milliseconds since an arbitrary start, 32-bit.
    std::uint32_t timeGetTime() const { return static_cast<std::uint32_t>(now_); }
    // Moves the clock on by that much; the backend paces it.
    void Sleep(int ms);
    // Runs every input and timer event due by now, in time order.
    void DoEvents();
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

    // Tells the player, where they are looking, of something that does not
    // stop the game (a file that can no longer be written), without a
    // dialog to answer. The desktop backend shows it in the main window's
    // title; the simulated backend has no one to tell.
    virtual void showNotice(const std::string& /*text*/) {}

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

    // Queues an input event for time t; events of the same time run in the
    // order they were queued, and one whose time has passed at the next pump.
    void post(std::int64_t t, std::function<void()> event);

    // What becomes of the player's input: the program turns it into the
    // event to post, at the time given (see takeInput). Without it, input
    // from the window system is dropped.
    std::function<void(const Input&, std::int64_t at)> onInput;

    // The main loop: delivers each event at its time until the clock reaches
    // stopMs, the program ends or an event stops the run (stopNow). Returns
    // the time reached.
    std::int64_t run(std::int64_t stopMs = kNever);
    // Ends the run at once, also in the middle of a wait.
    [[noreturn]] void stopNow();

  protected:
    // How the backend paces the clock: blocks until the clock may read
    // `until`, or until the backend has taken input, and returns the latest
    // time the clock may read now. Only the backend's own work (painting,
    // taking input) runs meanwhile, never a handler of the game.
    virtual std::int64_t pace(std::int64_t until) = 0;
    virtual void sound() = 0;

    // Input the window system gave while pacing, when the backend's clock
    // read `at`. It is timed after everything already delivered and no later
    // than the time being paced to, so that a replay of it at that time
    // delivers it at the very point this run does.
    void takeInput(const Input& input, std::int64_t at);
    // How many events have been posted: a backend's pace returns once it grows.
    std::uint64_t posted() const { return sequence_; }

  private:
    bool deliverOneDue();
    // The time of the next event, pacing the clock until it may read it.
    std::int64_t nextEventTime();

    TimerScheduler timers_;
    RandomSequence random_;
    std::int64_t beeps_ = 0;
    int nesting_ = 0;
    bool ending_ = false;

    std::int64_t now_ = 0;
    std::int64_t allowed_ = 0;
    std::int64_t pacingTo_ = kNever;
    std::int64_t stop_ = kNever;
    std::uint64_t sequence_ = 0;
    std::map<std::pair<std::int64_t, std::uint64_t>, std::function<void()>> input_;
};

}  // namespace platform
