// The real program under a window manager that frames its windows and puts
// a dialog at the screen's centre unless told better (xfwm4).

#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

class UnderXfwm4 : public RealProgramTest {
  protected:
    UnderXfwm4() {
        options.windowManagerDir = dir();
        options.arguments = {"--record", recording_, "--trace", trace_};
    }

    const std::string recording_ = dir() + "/game.txt";
    const std::string trace_ = dir() + "/trace.jsonl";
};

TEST_F(UnderXfwm4, AboutShowsOverTheGameStartInItLeavesTheArrowsSteeringAndDestroyEnds) {
    waitForTheMaze();
    // Away from the screen's centre, where the manager would put About.
    program().xdotool({"windowmove", std::to_string(mainWindow()), "0", "0"});
    pressIn(mainWindow(), "main window", "alt+a");
    const XWindowId about = x().findTopLevel("About Gulpo", Millis(5000));
    WindowRect game;
    WindowRect shown;
    EXPECT_TRUE(pollUntil(
        [&] {
            game = x().placement(mainWindow()).value_or(WindowRect{});
            shown = x().placement(about).value_or(WindowRect{});
            return game.x < 100 && shown.within(game);
        },
        Millis(3000)))
        << "About " << shown.describe() << ", the game " << game.describe();

    pressIn(about, "About window", "alt+s");
    EXPECT_TRUE(pollUntil([&] { return x().inputFocus() == mainWindow(); }, Millis(2000)))
        << "the keyboard stayed with About after Start";
    press("Right");
    // The score's own pixels, left of the level's caption, show points.
    const playfield::Playfield atLoad;
    platform::Box box = atLoad.lblScore.box();
    box.width = atLoad.Label1.box().left - box.left;
    const platform::TwipsMapping mapping = program().mapping();
    const auto scored = [&](const Screenshot& s) {
        return differingPixels(s, atLoad.frmGulpo, pixelsOf(box, mapping), mapping) > 0;
    };
    EXPECT_TRUE(scored(program().captureWhen(mainWindow(), scored, Millis(8000))))
        << "no score 8 s after the arrow";

    x().destroy(mainWindow());
    const std::optional<ExitStatus> ended = program().waitForEnd(Millis(1000));
    ASSERT_TRUE(ended.has_value()) << "still running 1 s after its window was destroyed";
    EXPECT_TRUE(ended->exited && ended->code == 0) << state();
    EXPECT_TRUE(readFile(recording_).ends_with(" closewin main\n")) << readFile(recording_);
    EXPECT_NE(readFile(trace_).find("\"ev\":\"exit\""), std::string::npos) << "no exit traced";
}

TEST_F(UnderXfwm4, TheFirstFrameFitsTheScreen) {
    // The design size is 520 pixels high: 1612 at this scale.
    program().options().environment = {"QT_SCALE_FACTOR=3.1"};
    ASSERT_TRUE(program().launch()) << state();
    WindowRect frame;
    EXPECT_TRUE(pollUntil(
        [&] {
            frame = x().framePlacement(mainWindow()).value_or(WindowRect{});
            return frame.height > 1000 && frame.within({0, 0, 1600, 1600});
        },
        Millis(3000)))
        << "the frame " << frame.describe() << " on the 1600 pixels high screen";
}

}  // namespace
}  // namespace window_test
