#pragma once

// The one fixture of the tests of the real program in sessions of their
// own. Each test has a scratch folder of its own, kept when the test fails,
// and (unless its suite says otherwise) its own X server and its own copy of
// the program, its main window found. A suite's constructor changes what it
// needs: the program's `options`, no X server at all, the program started
// by the test itself, or a clock the test steps.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "sessions/files.h"
#include "sessions/xvfb_game.h"
#include "tests/window/scene_pixels.h"
#include "tests/window/stepped_clock.h"

namespace window_test {

// The tests speak of the sessions' machinery by its own names.
using namespace sessions;

// "Suite_Test" of the test that runs now (a parameterised one's "/" as "_"),
// for naming its artifacts.
std::string currentTestName();

class RealProgramTest : public ::testing::Test {
  protected:
    RealProgramTest();

    void SetUp() override;
    void TearDown() override;

    // The game, named after the test.
    XvfbGameOptions options;
    // The test's own X server; without one (the Wayland and no-display
    // tests), the test runs what it needs itself. A test that needs one is
    // skipped where Xvfb is not installed.
    bool onX = true;
    // Whether SetUp starts the program and waits for its main window.
    bool launchInSetUp = true;
    // Whether the game runs on a clock the test steps (clock()).
    bool stepped = false;

    // The test's scratch folder, kept when the test fails. It is there from
    // the start, so that a suite's constructor can put its servers in it.
    const std::string& dir() const { return scratch_.path(); }
    // "<test>.<what>" among the artifacts, kept after the run.
    std::string artifact(const std::string& what) const;

    XvfbGame& program() { return *xvfb_; }
    SteppedClock& clock() { return *clock_; }
    XClient& x() { return xvfb_->x(); }
    XWindowId mainWindow() const { return xvfb_->mainWindow(); }
    std::string state() { return xvfb_->state(); }
    bool running() { return xvfb_->running(); }

    // Presses keys through XTEST into the window with the input focus.
    void press(const std::string& keys);
    // Gives `window` the input focus and presses `keys` in it.
    void pressIn(XWindowId window, const std::string& what, const std::string& keys);
    // Keeps the picture among the artifacts, as "<test>.<what>.png".
    void keep(const Screenshot& shot, const std::string& what);
    // Waits until the main window shows the maze as it is at load, so that
    // the program is idle and takes keys.
    void waitForTheMaze();
    // Asks `window` to close, as a window manager does, and expects the
    // program to end within `timeout` with status 0 and nothing unexpected
    // on its error output; how long it took, or nothing if it did not end.
    std::optional<Millis> expectCloseEndsTheProgram(XWindowId window, const std::string& what,
                                                    Millis timeout);
    // Notes a measurement in the test's XML report and on the console.
    void note(const std::string& key, long value);

  private:
    ScratchFolder scratch_{"gulpo-test"};
    std::unique_ptr<XvfbGame> xvfb_;
    std::optional<SteppedClock> clock_;
};

}  // namespace window_test
