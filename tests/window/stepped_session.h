#pragma once

// The game on a stepped clock in a real X window (gulpo --stepped): the test
// moves the clock, sends input as script lines, reads the game's state, and
// compares the window as the X server holds it with a fresh rendering of the
// same state.

#include <optional>
#include <string>

#include "tests/window/gulpo_session.h"

namespace window_test {

// How the screen and a fresh rendering compare.
struct FrameComparison {
    long differing = 0;  // pixels that differ; -1 when the sizes differ
    long total = 0;
    std::string detail;  // where they differ, and where the pictures were kept
};

class SteppedSession {
  public:
    // Starts a private X server and the game on it with a stepped clock, and
    // waits for its main window, at `size` if given. `name` names the
    // artifacts. Throws std::runtime_error when something does not come up.
    SteppedSession(const std::string& name, std::optional<WindowSize> size = std::nullopt);
    SteppedSession(const SteppedSession&) = delete;
    SteppedSession& operator=(const SteppedSession&) = delete;
    ~SteppedSession();

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

    GulpoSession& session() { return *session_; }

  private:
    std::string name_;
    std::string dir_;
    std::optional<GulpoSession> session_;
    std::string reply();

    int commands_ = -1;
    int replies_ = -1;
    std::string pending_;
    long long now_ = 0;
    int snaps_ = 0;
};

}  // namespace window_test
