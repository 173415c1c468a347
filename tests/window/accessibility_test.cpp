// What a screen reader finds of the real program on the accessibility bus of
// a private desktop session, read with pyatspi (accessibility_tree.py).

#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

// Alt+A has given About the focus, so Enter presses About.
constexpr const char* kMain = R"(frame "Gulpo"
  label "Lives:" text
  label "3" text read as "Lives: 3"
  label "" text read as "Score: "
  label "Level:" text
  label "" text read as "Level: "
  push button "Start"
  push button "About" default
)";
constexpr const char* kAbout = R"(dialog "About Gulpo"
  label "Gulpo" text
  label "Programmed By Gulpo's team" text
  label "Instructions: Use arrow keys to move Gulpo. Collect food while avoiding the ghosts. Eat the big food to make the ghosts edible. As you reach higher levels, new fruits become available." text
  push button "Close" default
)";

// A session bus of the game's own, with the accessibility bus started on it
// as a desktop session starts it.
class ScreenReader : public RealProgramTest {
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

TEST_F(ScreenReader, ReadsBothWindowsNotClosedAboutAndEachValueWithItsNameInPlay) {
    waitForTheMaze();
    pressIn(mainWindow(), "main window", "alt+a");
    const XWindowId about = x().findTopLevel("About Gulpo", Millis(5000));
    ASSERT_NE(about, 0u) << state();
    EXPECT_EQ(run({GULPO_PYTHON, GULPO_ATSPI_READER, "tree", "Gulpo"}),
              std::string(kMain) + kAbout);
    pressIn(about, "About window", "Return");
    ASSERT_TRUE(x().waitForMapState(about, MapState::unmapped, Millis(2000))) << state();
    EXPECT_EQ(run({GULPO_PYTHON, GULPO_ATSPI_READER, "tree", "Gulpo"}), kMain);

    // Start, and Right over the two tunnel dots: heard until the score is 200.
    ASSERT_TRUE(x().focus(mainWindow(), Millis(2000)));
    const std::string heard = dir() + "/heard";
    ChildProcess listener({GULPO_PYTHON, GULPO_ATSPI_READER, "watch", "Gulpo", "200"}, env_, heard);
    ASSERT_TRUE(pollUntil([&] { return readFile(heard) == "listening\n"; }, Millis(9000)));
    press("alt+s");
    press("Right");
    EXPECT_EQ(listener.waitFor(Millis(25000)).value_or(ExitStatus{}).code, 0) << readFile(heard);
    const std::string said = readFile(heard);
    EXPECT_NE(said.find("accessible-name \"Level: 1\"\n"), std::string::npos) << said;
    EXPECT_NE(said.find("accessible-name \"Score: 200\"\n"), std::string::npos) << said;
    // Start hands the focus straight to the game, by no button.
    EXPECT_EQ(said.find("focused push button"), std::string::npos) << said;
    const std::string playing = run({GULPO_PYTHON, GULPO_ATSPI_READER, "tree", "Gulpo"});
    EXPECT_NE(playing.find("  label \"200\" text read as \"Score: 200\"\n"), std::string::npos)
        << playing;
}

}  // namespace
}  // namespace window_test
