#pragma once

// The game on a stepped clock in a real X window (gulpo --stepped): the test
// moves the clock, sends input as script lines, reads the game's state, and
// compares the window as the X server holds it with a fresh rendering of the
// same state.

#include <optional>
#include <string>

#include "sessions/xvfb_game.h"

namespace window_test {

// The tests speak of the sessions' machinery by its own names.
using namespace sessions;

// How the screen and a fresh rendering compare.
struct FrameComparison {
    long differing = 0;  // pixels that differ; -1 when the sizes differ
    long total = 0;
    std::string detail;  // where they differ, and where the pictures were kept
};

class SteppedClock {
  public:
    // Makes the pipes to the game in `dir` and has the session start the
    // game with a stepped clock on them. Throws std::runtime_error if they
    // cannot be made.
    SteppedClock(XvfbGame& program, const std::string& dir);
    SteppedClock(const SteppedClock&) = delete;
    SteppedClock& operator=(const SteppedClock&) = delete;
    ~SteppedClock();

    // Opens the command pipe of the game the session has launched; throws
    // std::runtime_error if the game does not open its end within 10 s.
    void connect();

    // Sends one command and returns its reply ("ok T" or "error ...").
    // Throws std::runtime_error if no reply comes within 20 s.
    std::string ask(const std::string& command);
    // Sends an input at the game's time now ("key 37", "place imgGulpo 1380
    // 2880") and returns the reply once the game has taken it.
    std::string input(const std::string& verbAndArguments);
    // The game's state as a trace line shows it.
    std::string state();
    // The game's clock as the last reply gave it.
    long long now() const { return now_; }

    // Resizes the main window the way a window manager would.
    bool resize(WindowSize size);
    std::optional<WindowSize> size();

    // Compares the window on the screen with a fresh rendering of it. The
    // screen is read again for up to a second while they differ, for the
    // server to take in the last paint; what is still wrong then is stale.
    // On a difference both pictures and a map of the differing pixels are
    // kept under `label`.
    FrameComparison compare(const std::string& label);

  private:
    std::string reply();

    XvfbGame& xvfb_;
    std::string commandsPath_;
    int commands_ = -1;
    int replies_ = -1;
    std::string pending_;
    long long now_ = 0;
    int snaps_ = 0;
};

}  // namespace window_test
