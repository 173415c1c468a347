// The real program's main window at twice its design size, as when the user
// drags its frame: the scene grows with it and keeps its walls exact; its
// first size fits the screen at any scale factor, and no resize makes its
// text unreadable.

#include <chrono>

#include "playfield/playfield.h"
#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

using std::chrono::milliseconds;

// 7005 x 7800 twips at 7.5 a pixel.
constexpr WindowSize kDoubleSize{934, 1040};

class DoubleSize : public RealProgramTest {
  protected:
    DoubleSize() { options.mainWindowSize = kDoubleSize; }
};

TEST_F(DoubleSize, ShowsPureBlueExactlyWhereTheMazeHasWallsWithNoMargins) {
    const platform::TwipsMapping mapping = program().mapping();
    ASSERT_DOUBLE_EQ(mapping.twipsPerPixel, 7.5);
    ASSERT_EQ(mapping.offsetX, 0);
    ASSERT_EQ(mapping.offsetY, 0);

    const playfield::Playfield model;
    const Screenshot shot = program().captureWhen(
        mainWindow(),
        [&](const Screenshot& s) {
            return s.width == kDoubleSize.width && s.height == kDoubleSize.height &&
                   compareWalls(s, model.frmGulpo, mapping).mismatches == 0;
        },
        milliseconds(5000));
    ASSERT_FALSE(shot.empty()) << "the main window could not be captured; " << state();
    keep(shot, "double_size");
    ASSERT_EQ(shot.width, kDoubleSize.width);
    ASSERT_EQ(shot.height, kDoubleSize.height);

    const WallComparison c = compareWalls(shot, model.frmGulpo, mapping);
    // The comparison means something only if the maze has walls on screen.
    ASSERT_GT(c.modelWalls, 40000);
    EXPECT_EQ(c.mismatches, 0) << "at twice the size, " << c.describe(shot);

    // The buttons grow and move with the scene.
    const StartButtonArea startButton(mapping);
    EXPECT_TRUE(startButton.faceShows(shot))
        << "at twice the size the Start button's face does not cover its area ("
        << startButton.pixels().describe() << "): only " << startButton.differing(shot) << " of "
        << startButton.pixels().area() << " pixels differ from the bare window";
}

class ScaleFactor : public RealProgramTest, public ::testing::WithParamInterface<const char*> {
  protected:
    ScaleFactor() {
        options.environment = {std::string("QT_SCALE_FACTOR=") + GetParam()};
        options.name = std::string("ScaleFactor_") + GetParam();  // with no slash
    }
};

TEST_P(ScaleFactor, TheFirstSizeFitsTheScreenAndShowsTheWholeMaze) {
    const WindowSize size = x().size(mainWindow()).value_or(WindowSize{});
    const WindowSize screen = x().screenSize().value_or(WindowSize{});
    EXPECT_TRUE(size.width <= screen.width && size.height <= screen.height) << size.height;
    waitForTheMaze();
}

INSTANTIATE_TEST_SUITE_P(BelowAndFarAboveOne, ScaleFactor, ::testing::Values("0.5", "0.25", "7.5"));

using Squeezed = RealProgramTest;

TEST_F(Squeezed, AWindowManagersResizeLeavesTheTextReadable) {
    x().resize(mainWindow(), {60, 40}, milliseconds(2000));
    // The program sends back the smallest size it takes.
    pollUntil([&] { return x().size(mainWindow()).value_or(WindowSize{}).width > 60; },
              milliseconds(3000));
    EXPECT_GE(platform::kTextTwips / program().mapping().twipsPerPixel, 8.0) << "unreadable text";
    waitForTheMaze();
}

}  // namespace
}  // namespace window_test
