// What a screen reader finds of the real program on the accessibility bus of
// a private desktop session: the windows with their titles, every label's
// caption as text, the buttons with the one Enter presses as the default,
// and the score's change as play goes on.

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/servers/serving.h"
#include "tests/window/artifact.h"
#include "tests/window/gulpo_window_test.h"

namespace window_test {
namespace {

using std::chrono::milliseconds;

// About has the focus once Alt+A has pressed it, so Enter presses About.
constexpr const char* kBeforeStart = R"(frame "Gulpo" ""
  label "Lives:" "Lives:"
  label "3" "3"
  label "" ""
  label "Level:" "Level:"
  label "" ""
  push button "Start" ""
  push button "About" "" default
dialog "About Gulpo" ""
  label "Gulpo" "Gulpo"
  label "Programmed By Gulpo's team" "Programmed By Gulpo's team"
  label "{I}" "{I}"
  push button "Close" "" default
)";
constexpr const char* kInstructions =
    "Instructions: Use arrow keys to move Gulpo. Collect food while avoiding the ghosts. Eat the "
    "big food to make the ghosts edible. As you reach higher levels, new fruits become available.";
// The two tunnel dots right of the player's start spot are eaten.
constexpr const char* kPlaying = R"(frame "Gulpo" ""
  label "Lives:" "Lives:"
  label "3" "3"
  label "200" "200"
  label "Level:" "Level:"
  label "1" "1"
)";

std::string privateFolder() {
    char pattern[] = "/tmp/gulpo-a11y-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        throw std::runtime_error("cannot make a folder in /tmp");
    }
    return pattern;
}

// A session bus of the game's own, with the accessibility bus started on it
// as a desktop session starts it; the game exports its tree there.
class ScreenReader : public GulpoWindowTest {
  protected:
    ScreenReader() : dir_(privateFolder()) {
        const std::string socket = dir_ + "/bus";
        environment_ = {"DBUS_SESSION_BUS_ADDRESS=unix:path=" + socket, "XDG_RUNTIME_DIR=" + dir_};
        const std::string log = artifactPath("window_" + options.name + ".dbus.log");
        bus_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{GULPO_DBUS_DAEMON, "--session", "--nofork",
                                     "--address=unix:path=" + socket},
            environment_, log);
        server_test::waitUntilServing(*bus_, "the session bus", socket, log);
        run({GULPO_DBUS_SEND, "--session", "--dest=org.a11y.Bus", "--print-reply", "/org/a11y/bus",
             "org.a11y.Bus.GetAddress"});
        options.environment = environment_;
        options.environment.emplace_back("QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1");
    }
    ~ScreenReader() override {
        bus_.reset();
        std::filesystem::remove_all(dir_);
    }

    // Runs a reader of the bus to its end; what it printed.
    std::string run(const std::vector<std::string>& argv) {
        const std::string out = dir_ + "/reader" + std::to_string(++runs_) + ".log";
        ChildProcess reader(argv, environment_, out);
        const auto status = reader.waitFor(milliseconds(25000));
        EXPECT_TRUE(status && status->exited && status->code == 0)
            << argv[0] << " " << argv[1] << ": " << readFile(out);
        return readFile(out);
    }
    static std::vector<std::string> reader(const std::string& what) {
        return {GULPO_PYTHON, GULPO_ATSPI_READER, what, "Gulpo"};
    }

    std::string dir_;
    std::vector<std::string> environment_;
    std::unique_ptr<ChildProcess> bus_;
    int runs_ = 0;
};

TEST_F(ScreenReader, ReadsBothWindowsAndHearsTheScoreChangeInPlay) {
    waitForTheMaze();
    pressIn(mainWindow(), "main window", "alt+a");
    ASSERT_NE(x().findTopLevel("About Gulpo", milliseconds(5000)), 0u) << state();
    std::string beforeStart = kBeforeStart;
    beforeStart.replace(beforeStart.find("{I}"), 3, kInstructions);
    beforeStart.replace(beforeStart.find("{I}"), 3, kInstructions);
    EXPECT_EQ(run(reader("tree")), beforeStart);

    const std::string heard = dir_ + "/heard.log";
    std::vector<std::string> watch = reader("watch");
    watch.emplace_back("200");
    ChildProcess listener(watch, environment_, heard);
    ASSERT_TRUE(pollUntil([&] { return readFile(heard) == "listening\n"; }, milliseconds(10000)))
        << readFile(heard);
    pressIn(mainWindow(), "main window", "alt+s");
    press("Right");
    const auto status = listener.waitFor(milliseconds(25000));
    EXPECT_TRUE(status && status->exited && status->code == 0) << readFile(heard);
    for (const char* score : {"100", "200"}) {
        for (const char* event :
             {"object:property-change:accessible-name", "object:text-changed:insert"}) {
            EXPECT_NE(readFile(heard).find(std::string(event) + " \"" + score + "\""),
                      std::string::npos)
                << "no " << event << " to " << score << " among " << readFile(heard);
        }
    }
    const std::string playing = run(reader("tree"));
    EXPECT_EQ(playing.substr(0, playing.find("dialog")), kPlaying);
}

}  // namespace
}  // namespace window_test
