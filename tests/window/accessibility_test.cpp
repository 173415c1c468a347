// What a screen reader finds of the real program on the accessibility bus of
// a private desktop session, read with pyatspi (accessibility_tree.py).

#include "tests/window/session_test.h"

namespace window_test {
namespace {

// Alt+A has given About the focus, so Enter presses About.
constexpr const char* kBeforeStart = R"(frame "Gulpo"
  label "Lives:" text
  label "3" text
  label "" text
  label "Level:" text
  label "" text
  push button "Start"
  push button "About" default
dialog "About Gulpo"
  label "Gulpo" text
  label "Programmed By Gulpo's team" text
  label "Instructions: Use arrow keys to move Gulpo. Collect food while avoiding the ghosts. Eat the big food to make the ghosts edible. As you reach higher levels, new fruits become available." text
  push button "Close" default
)";

// A session bus of the game's own, with the accessibility bus started on it
// as a desktop session starts it.
class ScreenReader : public SessionTest {
  protected:
    ScreenReader() {
        run({GULPO_PYTHON, "-c", "import pyatspi; pyatspi.Registry.getDesktop(0)"});
        options.environment = env_;
    }

    // Runs `argv` to its end; what it printed.
    std::string run(const std::vector<std::string>& argv) {
        const auto status = ChildProcess(argv, env_, dir() + "/out").waitFor(Millis(25000));
        EXPECT_EQ(status.value_or(ExitStatus{}).code, 0) << readFile(dir() + "/out");
        return readFile(dir() + "/out");
    }

    const Server bus_{sessionBus(dir())};
    const std::vector<std::string> env_{"DBUS_SESSION_BUS_ADDRESS=" + busAddress(dir()),
                                        "XDG_RUNTIME_DIR=" + dir(),
                                        "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"};
};

TEST_F(ScreenReader, ReadsBothWindowsAndHearsTheScoreChangeInPlay) {
    waitForTheMaze();
    pressIn(mainWindow(), "main window", "alt+a");
    ASSERT_NE(x().findTopLevel("About Gulpo", Millis(5000)), 0u) << state();
    EXPECT_EQ(run({GULPO_PYTHON, GULPO_ATSPI_READER, "tree", "Gulpo"}), kBeforeStart);

    // Start, and Right over the two tunnel dots: heard until the score is 200.
    const std::string heard = dir() + "/heard";
    ChildProcess listener({GULPO_PYTHON, GULPO_ATSPI_READER, "watch", "Gulpo", "200"}, env_, heard);
    ASSERT_TRUE(pollUntil([&] { return readFile(heard) == "listening\n"; }, Millis(9000)));
    pressIn(mainWindow(), "main window", "alt+s");
    press("Right");
    EXPECT_EQ(listener.waitFor(Millis(25000)).value_or(ExitStatus{}).code, 0) << readFile(heard);
    EXPECT_NE(readFile(heard).find("accessible-name \"200\""), std::string::npos);
    const std::string playing = run({GULPO_PYTHON, GULPO_ATSPI_READER, "tree", "Gulpo"});
    EXPECT_NE(playing.find("  label \"200\" text\n"), std::string::npos) << playing;
}

}  // namespace
}  // namespace window_test
