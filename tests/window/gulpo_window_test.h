#pragma once

// The fixture of the real-window tests: each test has its own X server and
// its own copy of the program, showing its main window. A suite changes the
// program, its environment or the main window's size in its constructor.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/window/gulpo_session.h"
#include "tests/window/scene_pixels.h"

namespace window_test {

// "Suite_Test" of the test that runs now, for naming its artifacts.
std::string currentTestName();

class GulpoWindowTest : public ::testing::Test {
  protected:
    GulpoWindowTest();

    void SetUp() override;
    void TearDown() override;

    GulpoSession& session() { return *session_; }
    XClient& x() { return session_->x(); }
    XWindowId mainWindow() const { return session_->mainWindow(); }
    std::string state() { return session_->state(); }
    bool running() { return session_->running(); }

    // Presses keys through XTEST into the window with the input focus.
    void press(const std::string& keys);
    // Gives `window` the input focus and presses `keys` in it.
    void pressIn(XWindowId window, const std::string& what, const std::string& keys);
    // Keeps the picture among the artifacts.
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

    // The game, named after the test; SetUp starts it as the suite leaves it.
    SessionOptions options;

  private:
    std::unique_ptr<GulpoSession> session_;
};

}  // namespace window_test
