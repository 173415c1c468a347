// What a screen reader finds of the real program on the accessibility bus of
// a private desktop session, read with pyatspi (accessibility_tree.py).

#include "tests/window/session_test.h"

namespace window_test {
namespace {

// Alt+A has given About the focus, so Enter presses About.
constexpr const char* kMainBeforeStart = R"(frame "Gulpo"
  label "Lives:" text label-for "3"
  label "3" text labelled-by "Lives:"
  label "" text described-as "Score"
  label "Level:" text label-for ""
  label "" text labelled-by "Level:"
  push button "Start"
  push button "About" default
)";
constexpr const char* kAbout = R"(dialog "About Gulpo"%
  label "Gulpo" text%
  label "Programmed By Gulpo's team" text%
  label "Instructions: Use arrow keys to move Gulpo. Collect food while avoiding the ghosts. Eat the big food to make the ghosts edible. As you reach higher levels, new fruits become available." text%
  push button "Close" default%
)";

// The About window's lines, shown or hidden.
std::string about(const std::string& state) {
    std::string lines = kAbout;
    for (std::size_t at = lines.find('%'); at != std::string::npos; at = lines.find('%', at)) {
        lines.replace(at, 1, state);
    }
    return lines;
}

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

TEST_F(ScreenReader, ReadsBothWindowsHidesClosedAboutAndReadsEachValueWithItsName) {
    waitForTheMaze();
    pressIn(mainWindow(), "main window", "alt+a");
    const XWindowId aboutWindow = x().findTopLevel("About Gulpo", Millis(5000));
    ASSERT_NE(aboutWindow, 0u) << state();
    EXPECT_EQ(run({GULPO_PYTHON, GULPO_ATSPI_READER, "tree", "Gulpo"}),
              kMainBeforeStart + about(""));
    pressIn(aboutWindow, "About window", "Return");
    ASSERT_TRUE(x().waitForMapState(aboutWindow, MapState::unmapped, Millis(2000))) << state();
    EXPECT_EQ(run({GULPO_PYTHON, GULPO_ATSPI_READER, "tree", "Gulpo"}),
              kMainBeforeStart + about(" hidden"));

    // Start, and Right over the two tunnel dots: heard until the score is 200.
    ASSERT_TRUE(x().focus(mainWindow(), Millis(2000)));
    const std::string heard = dir() + "/heard";
    ChildProcess listener({GULPO_PYTHON, GULPO_ATSPI_READER, "watch", "Gulpo", "200"}, env_, heard);
    ASSERT_TRUE(pollUntil([&] { return readFile(heard) == "listening\n"; }, Millis(9000)));
    press("alt+s");
    press("Right");
    EXPECT_EQ(listener.waitFor(Millis(25000)).value_or(ExitStatus{}).code, 0) << readFile(heard);
    const std::string said = readFile(heard);
    for (const char* reading : {"read as \"Level: 1\"", "read as \"Score: 200\""}) {
        EXPECT_NE(said.find(reading), std::string::npos) << reading << " in:\n" << said;
    }
    // Start goes straight to the game, by no button on the way.
    EXPECT_EQ(said.find("focused push button"), std::string::npos) << said;
    const std::string playing = run({GULPO_PYTHON, GULPO_ATSPI_READER, "tree", "Gulpo"});
    EXPECT_NE(playing.find("  label \"200\" text described-as \"Score\"\n"), std::string::npos)
        << playing;
}

}  // namespace
}  // namespace window_test
