// The real program under a window manager that frames its windows and puts
// a dialog at the screen's centre unless told better (xfwm4): Start pressed
// in About leaves the arrows steering, About opens over the game, the first
// frame fits the screen, and a main window destroyed from outside ends the
// program as its close does.

#include "tests/window/session_test.h"

namespace window_test {
namespace {

class UnderXfwm4 : public SessionTest {
  protected:
    UnderXfwm4() {
        launchInSetUp = false;
        options.arguments = {"--record", recording_, "--trace", trace_};
    }

    void SetUp() override {
        SessionTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        try {
            wm_.emplace(windowManager(x(), session().display(), dir()));
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
    }

    const std::string recording_ = dir() + "/game.txt";
    const std::string trace_ = dir() + "/trace.jsonl";
    const Server bus_{sessionBus(dir())};
    std::optional<Server> wm_;
};

TEST_F(UnderXfwm4, StartInAboutLeavesTheArrowsSteeringAboutShowsOverTheGameAndDestroyEnds) {
    ASSERT_TRUE(session().launch()) << state();
    waitForTheMaze();
    // The score's own part, left of the level's caption.
    const playfield::Playfield atLoad;
    platform::Box scoreBox = atLoad.lblScore.box();
    scoreBox.width = atLoad.Label1.box().left - scoreBox.left;
    const PixelRect score = pixelsOf(scoreBox, session().mapping());
    const auto scoreOf = [&](const Screenshot& s) {
        return crop(s, score.left, score.top, score.right - score.left, score.bottom - score.top)
            .pixels;
    };
    const auto noScore = scoreOf(x().capture(mainWindow()));
    // Away from the screen's centre, where the manager would put About.
    session().xdotool({"windowmove", std::to_string(mainWindow()), "0", "0"});
    ASSERT_TRUE(pollUntil(
        [&] { return x().placement(mainWindow()).value_or(WindowRect{}).x < 100; }, Millis(2000)));
    pressIn(mainWindow(), "main window", "alt+a");
    const XWindowId about = x().findTopLevel("About Gulpo", Millis(5000));
    ASSERT_NE(about, 0u) << state();
    const WindowRect game = x().placement(mainWindow()).value_or(WindowRect{});
    const WindowRect shown = x().placement(about).value_or(WindowRect{});
    EXPECT_TRUE(shown.within(game))
        << "About " << shown.describe() << ", the game " << game.describe();

    pressIn(about, "About window", "alt+s");
    EXPECT_TRUE(pollUntil([&] { return x().inputFocus() == mainWindow(); }, Millis(2000)))
        << "the keyboard stayed with About after Start";
    press("Right");
    // The player walks over the tunnel dots: the score shows.
    const auto scored = [&](const Screenshot& s) { return scoreOf(s) != noScore; };
    EXPECT_TRUE(scored(session().captureWhen(mainWindow(), scored, Millis(8000))))
        << "no score 8 s after the arrow";

    x().destroy(mainWindow());
    const std::optional<ExitStatus> ended = session().waitForEnd(Millis(1000));
    ASSERT_TRUE(ended.has_value()) << "still running 1 s after its window was destroyed";
    EXPECT_TRUE(ended->exited && ended->code == 0) << state();
    EXPECT_TRUE(readFile(recording_).ends_with(" closewin main\n")) << readFile(recording_);
    const std::string traced = readFile(trace_);
    EXPECT_NE(traced.find("\"ev\":\"exit\"", traced.rfind('\n', traced.size() - 2)),
              std::string::npos)
        << "the trace ends without the exit";
}

TEST_F(UnderXfwm4, TheFirstFrameFitsTheScreen) {
    // The window's design size is 520 pixels high, 1612 at this scale.
    session().options().environment = {"QT_SCALE_FACTOR=3.1"};
    ASSERT_TRUE(session().launch()) << state();
    const WindowSize screen = x().screenSize().value_or(WindowSize{});
    WindowRect frame;
    EXPECT_TRUE(pollUntil(
        [&] {
            frame = x().framePlacement(mainWindow()).value_or(WindowRect{});
            return frame.height > 1000 && frame.within({0, 0, screen.width, screen.height});
        },
        Millis(3000)))
        << "the frame " << frame.describe() << " on a screen " << screen.height << " high";
}

}  // namespace
}  // namespace window_test
