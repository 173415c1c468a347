// The main window's size on any screen: a window manager cannot squeeze it
// below a size where its text stays readable, its first size fits the
// screen, and at any scale factor the whole maze is drawn.

#include <chrono>
#include <string>

#include "playfield/playfield.h"
#include "tests/window/gulpo_window_test.h"

namespace window_test {
namespace {

using std::chrono::milliseconds;

// The smallest text a player can still read, in the screen's pixels.
constexpr double kReadableTextPixels = 8.0;

// The whole maze shows, pixel for pixel where the model has walls.
void expectTheWholeMaze(GulpoSession& session, const std::string& when) {
    const playfield::Playfield model;
    const platform::TwipsMapping mapping = session.mapping();
    const Screenshot shot = session.captureWhen(
        session.mainWindow(),
        [&](const Screenshot& s) {
            return compareWalls(s, model.frmGulpo, mapping).mismatches == 0;
        },
        milliseconds(5000));
    session.keep(shot, when);
    const WallComparison c = compareWalls(shot, model.frmGulpo, mapping);
    EXPECT_GT(c.modelWalls, 2000) << when << ": too few wall pixels to tell";
    EXPECT_EQ(c.mismatches, 0) << when << ": " << c.describe(shot);
}

class ScaleFactor : public GulpoWindowTest, public ::testing::WithParamInterface<const char*> {
  protected:
    ScaleFactor() {
        options.environment = {std::string("QT_SCALE_FACTOR=") + GetParam()};
        // The instance's name has a slash, which artifacts cannot.
        options.name = std::string("ScaleFactor_") + GetParam();
    }
};

TEST_P(ScaleFactor, TheFirstSizeFitsTheScreenAndShowsTheWholeMaze) {
    const auto size = x().size(mainWindow());
    const auto screen = x().screenSize();
    ASSERT_TRUE(size && screen) << state();
    EXPECT_LE(size->width, screen->width) << "the window is wider than the screen";
    EXPECT_LE(size->height, screen->height) << "the window is taller than the screen";
    expectTheWholeMaze(session(), std::string("scale_") + GetParam());
}

INSTANTIATE_TEST_SUITE_P(BelowAndFarAboveOne, ScaleFactor, ::testing::Values("0.5", "0.25", "7.5"),
                         [](const auto& param) {
                             std::string name = param.param;
                             name[name.find('.')] = '_';
                             return name;
                         });

class Squeezed : public GulpoWindowTest {};

TEST_F(Squeezed, AWindowManagersResizeLeavesTheTextReadable) {
    x().resize(mainWindow(), {60, 40}, milliseconds(2000));
    std::optional<WindowSize> size;
    const bool grown = pollUntil(
        [&] {
            size = x().size(mainWindow());
            return size && size->width >= 60 * 3 && size->height >= 40 * 3;
        },
        milliseconds(3000));
    ASSERT_TRUE(grown) << "the window stayed " << size->width << " x " << size->height;
    const double textPixels = platform::kTextTwips / session().mapping().twipsPerPixel;
    EXPECT_GE(textPixels, kReadableTextPixels) << "at " << size->width << " x " << size->height
                                               << " the text is " << textPixels << " pixels high";
    expectTheWholeMaze(session(), "squeezed");
}

}  // namespace
}  // namespace window_test
