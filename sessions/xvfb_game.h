#pragma once

// The real program on its own private X server, seen and driven from
// outside: it is started, its main window found, captured, given keys
// through XTEST and closed the way a window manager closes it, and its exit
// status and output are at hand. The program can be started again on the
// same server.

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/qt/form_window.h"
#include "sessions/x_session.h"

namespace sessions {

struct XvfbGameOptions {
    // Names the logs and pictures the session leaves among the artifacts.
    std::string name{};
    // Arguments for the program.
    std::vector<std::string> arguments{};
    // Extra "NAME=value" settings for the program (each replaces any other
    // value of that name; DISPLAY and QT_QPA_PLATFORM=xcb are set already).
    std::vector<std::string> environment{};
    // The size the main window's client area is given once it shows, as a
    // window manager would when the user drags its frame.
    std::optional<WindowSize> mainWindowSize{};
    // The program to run: the game.
    std::string program = GULPO_PROGRAM;
    // A folder for the session bus of a window manager of the session's own
    // (see windowManager()); none: the windows are not managed.
    std::string windowManagerDir{};
};

class XvfbGame {
  public:
    // Starts the X server; throws std::runtime_error if it does not come up.
    explicit XvfbGame(XvfbGameOptions options);
    XvfbGame(const XvfbGame&) = delete;
    XvfbGame& operator=(const XvfbGame&) = delete;
    ~XvfbGame();

    // What the next launch starts.
    XvfbGameOptions& options() { return options_; }
    const XvfbGameOptions& options() const { return options_; }

    // Starts the program (again, if an earlier run has ended) and waits for
    // its main window, at the size asked for; false if it does not show
    // within 10 s (state() says why).
    bool launch();
    // When the last launch began, for timing the first frame.
    std::chrono::steady_clock::time_point launchedAt() const { return launchedAt_; }

    const std::string& display() const { return screen_.display(); }
    XClient& x() { return client_; }
    XWindowId mainWindow() const { return main_; }
    pid_t pid() const;
    // The twips-to-pixels mapping the program uses for the main window at
    // its size now.
    platform::TwipsMapping mapping();

    // How the program ended, once it has; nothing while it runs.
    std::optional<ExitStatus> exitStatus();
    bool running() { return !exitStatus().has_value(); }
    // Waits up to `timeout` for the program to end.
    std::optional<ExitStatus> waitForEnd(Millis timeout);
    // Whether the program runs or how it ended, and what it has printed.
    std::string state();
    std::string errorOutput() const;
    // The lines of its error output other than the warning Qt prints when
    // there is no runtime directory.
    std::vector<std::string> unexpectedErrorLines() const;

    // Runs xdotool on the session's display: "key Left", "mousemove 10 20
    // click 1", ...
    ExitStatus xdotool(const std::vector<std::string>& args);
    // Presses keys the way a keyboard does, through XTEST into the window
    // that has the input focus.
    ExitStatus press(const std::string& keys);

    // Captures `window` until `ready` holds for the picture or `timeout` has
    // passed; the last picture either way.
    template <typename Ready>
    Screenshot captureWhen(XWindowId window, Ready ready, Millis timeout) {
        Screenshot shot;
        pollUntil(
            [&] {
                shot = client_.capture(window);
                return !shot.empty() && ready(shot);
            },
            timeout, Millis(20));
        return shot;
    }
    // Writes the picture among the artifacts as <name>_<what>.png; the path,
    // or "" if it could not.
    std::string keep(const Screenshot& shot, const std::string& what) const;

    // What a window manager's close button does, then waits, polling every
    // millisecond, for the program to end: how long that took, or nothing
    // if it still runs after `timeout`.
    std::optional<Millis> closeAndTimeTheEnd(XWindowId window, Millis timeout);

  private:
    std::string artifact(const std::string& suffix) const;

    XvfbGameOptions options_;
    VirtualScreen screen_;
    XClient client_;
    std::optional<Server> bus_;
    std::optional<Server> windowManager_;
    std::optional<ChildProcess> program_;
    std::chrono::steady_clock::time_point launchedAt_;
    XWindowId main_ = 0;
};

}  // namespace sessions
