#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/window/x_session.h"

namespace sound_test {

// gulpo-tick-probe writing its beep log, in its window on a private Xvfb
// server, with keys pressed through XTEST as a keyboard would.
class GameOnScreen {
  public:
    struct Paths {
        std::string probe;    // gulpo-tick-probe
        std::string xvfb;     // Xvfb
        std::string xdotool;  // xdotool
    };

    // Starts the server and the program (with `extraEnv` added to its
    // environment) and waits for the main window; the logs go into `dir`.
    // Throws std::runtime_error if the window does not come up.
    GameOnScreen(const Paths& paths, const std::string& dir,
                 const std::vector<std::string>& extraEnv);
    GameOnScreen(const GameOnScreen&) = delete;
    GameOnScreen& operator=(const GameOnScreen&) = delete;
    ~GameOnScreen();

    const std::string& beepLog() const { return beepLog_; }
    // What the program wrote to standard error.
    std::string errorOutput() const;
    // Whether the program still runs, and what it wrote.
    std::string state();

    // Gives the window the input focus and presses `keys` (xdotool names).
    bool press(const std::string& keys);
    // The names of the top-level windows the server shows (mapped and
    // viewable).
    std::vector<std::string> shownWindows();
    // How often the X bell has rung on the server since the program started;
    // complete once the program has ended.
    int bellsRung();
    // What a window manager's close button does; how the program ended, if
    // it did within `timeout`.
    std::optional<window_test::ExitStatus> close(window_test::Millis timeout);

  private:
    Paths paths_;
    std::string beepLog_;
    std::string outputLog_;
    std::string errorLog_;
    std::optional<window_test::VirtualScreen> screen_;
    std::optional<window_test::ChildProcess> program_;
    std::optional<window_test::XClient> client_;
    window_test::XWindowId window_ = 0;
    void* bellWatch_ = nullptr;  // Display*, told of every bell
    int xkbEvent_ = 0;
    int bells_ = 0;
};

}  // namespace sound_test
