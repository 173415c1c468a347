// The real desktop program in a real X window on a private Xvfb server: what
// it shows at load, how it ends when its window is closed, and how Start and
// the arrow keys reach the game.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "playfield/playfield.h"
#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

using Clock = std::chrono::steady_clock;

// Rows of the side tunnel the player walks along from its start spot.
constexpr int kTunnelTop = 188;
constexpr int kTunnelBottom = 220;  // inclusive

// The pure yellow pixels in the tunnel rows that no dot can account for.
struct YellowBlob {
    long count = 0;
    int minX = 0;
    int maxX = 0;
    int minY = 0;
    int maxY = 0;
    double centreX = 0;
    double centreY = 0;

    std::string describe() const {
        std::ostringstream s;
        if (count == 0) {
            return "no player pixels";
        }
        s << count << " player pixels in x " << minX << ".." << maxX << ", y " << minY << ".."
          << maxY << ", centre (" << std::fixed << std::setprecision(1) << centreX << "," << centreY
          << ")";
        return s.str();
    }
};

// Pixels a dot may cover: the dots' boxes, widened for the painter's soft
// edges. (The model's colour cannot tell a dot from the player: both are
// drawn in the dot colour.)
std::vector<bool> dotMask(const playfield::Playfield& model, const platform::TwipsMapping& mapping,
                          int width, int height) {
    std::vector<bool> mask(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    auto cover = [&](const platform::Box& box) {
        const PixelRect r = pixelsOf(box, mapping, 2);
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, height); ++y) {
            for (int x = std::max(r.left, 0); x < std::min(r.right, width); ++x) {
                mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)] = true;
            }
        }
    };
    for (int i = 0; i < model.shpFood.size(); ++i) {
        cover(model.shpFood(i).box());
    }
    for (int i = 0; i < model.shpBig.size(); ++i) {
        cover(model.shpBig(i).box());
    }
    return mask;
}

YellowBlob playerInTunnel(const Screenshot& shot, const std::vector<bool>& dots) {
    YellowBlob b;
    double sumX = 0;
    double sumY = 0;
    for (int y = kTunnelTop; y <= std::min(kTunnelBottom, shot.height - 1); ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const std::size_t i =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(shot.width) +
                static_cast<std::size_t>(x);
            if (dots[i] || shot.pixels[i] != kPureYellow) {
                continue;
            }
            if (b.count == 0) {
                b.minX = b.maxX = x;
                b.minY = b.maxY = y;
            }
            b.minX = std::min(b.minX, x);
            b.maxX = std::max(b.maxX, x);
            b.minY = std::min(b.minY, y);
            b.maxY = std::max(b.maxY, y);
            sumX += x;
            sumY += y;
            ++b.count;
        }
    }
    if (b.count > 0) {
        b.centreX = sumX / static_cast<double>(b.count);
        b.centreY = sumY / static_cast<double>(b.count);
    }
    return b;
}

using WindowAtLoad = RealProgramTest;

TEST_F(WindowAtLoad, HasTheClientSizeOfTheDesign) {
    const playfield::Playfield model;
    const auto size = x().size(mainWindow());
    ASSERT_TRUE(size.has_value()) << "the window went away; " << state();
    // 15 twips to the pixel at the design size.
    EXPECT_EQ(size->width, model.frmGulpo.clientWidth() / 15);
    EXPECT_EQ(size->height, model.frmGulpo.clientHeight() / 15);
    EXPECT_EQ(size->width, 467);
    EXPECT_EQ(size->height, 520);
    EXPECT_EQ(x().instanceName(mainWindow()), "gulpo");
}

TEST_F(WindowAtLoad, ShowsPureBlueExactlyWhereTheMazeHasWalls) {
    const playfield::Playfield model;
    const platform::TwipsMapping mapping = program().mapping();
    // Until the first paint the window may show anything; it must settle on
    // the maze within the deadline.
    const Screenshot shot = program().captureWhen(
        mainWindow(),
        [&](const Screenshot& s) {
            return compareWalls(s, model.frmGulpo, mapping).mismatches == 0;
        },
        std::chrono::milliseconds(5000));
    ASSERT_FALSE(shot.empty()) << "the window could not be captured; " << state();
    keep(shot, "at_load");

    const WallComparison c = compareWalls(shot, model.frmGulpo, mapping);
    // The comparison means something only if the maze has walls on screen.
    ASSERT_GT(c.modelWalls, 10000);
    EXPECT_EQ(c.mismatches, 0) << c.describe(shot);
}

TEST_F(WindowAtLoad, ClosingTheWindowEndsTheProgramWithStatusZero) {
    expectCloseEndsTheProgram(mainWindow(), "window", std::chrono::milliseconds(5000));
}

using StartAndSteer = RealProgramTest;

TEST_F(StartAndSteer, AltSStartsTheGameAndTheLeftArrowSendsThePlayerThroughTheTunnel) {
    const platform::TwipsMapping mapping = program().mapping();
    const playfield::Playfield atLoad;
    const StartButtonArea startButton(mapping);
    const auto buttonGone = [&](const Screenshot& s) { return startButton.gone(s); };

    // The Start button shows its face until Start is chosen.
    const Screenshot before = program().captureWhen(
        mainWindow(),
        [&](const Screenshot& s) {
            return compareWalls(s, atLoad.frmGulpo, mapping).mismatches == 0 &&
                   startButton.faceShows(s);
        },
        std::chrono::milliseconds(5000));
    ASSERT_FALSE(before.empty()) << "the window could not be captured; " << state();
    keep(before, "before_start");
    ASSERT_TRUE(startButton.faceShows(before))
        << "the Start button's face is not showing at " << startButton.pixels().describe();

    pressIn(mainWindow(), "window", "alt+s");
    const Screenshot afterStart =
        program().captureWhen(mainWindow(), buttonGone, std::chrono::milliseconds(2000));
    const auto startSeen = Clock::now();
    keep(afterStart, "after_start");
    ASSERT_TRUE(buttonGone(afterStart))
        << startButton.differing(afterStart) << " of " << startButton.pixels().area()
        << " pixels of the Start button's area still differ from the bare window 2 s after "
           "Alt+S; "
        << state();

    // Start waits 2 s before the first tick.
    std::this_thread::sleep_until(startSeen + std::chrono::milliseconds(2300));
    const std::vector<bool> dots = dotMask(atLoad, mapping, afterStart.width, afterStart.height);
    // Ticking, but with no arrow pressed yet, the player stands at its start
    // spot (the first tick lifts it off the wall below by 2 pixels).
    const Screenshot standing = x().capture(mainWindow());
    ASSERT_FALSE(standing.empty()) << "the window went away; " << state();
    keep(standing, "standing");
    const PixelRect spot = pixelsOf(atLoad.imgGulpo.box(), mapping);
    const YellowBlob still = playerInTunnel(standing, dots);
    EXPECT_GT(still.count, 100) << still.describe();
    EXPECT_NEAR(still.centreX, (spot.left + spot.right - 1) / 2.0, 4.0)
        << "the player left its start spot before any arrow was pressed: " << still.describe();

    press("Left");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const Screenshot first = x().capture(mainWindow());
    const auto firstTaken = Clock::now();
    std::this_thread::sleep_until(firstTaken + std::chrono::milliseconds(1000));
    const Screenshot second = x().capture(mainWindow());
    ASSERT_FALSE(first.empty() || second.empty()) << "the window went away; " << state();
    keep(first, "steer_first");
    keep(second, "steer_second");

    const YellowBlob a = playerInTunnel(first, dots);
    const YellowBlob b = playerInTunnel(second, dots);
    // A 25 by 25 disc, even with a dot's box over part of it.
    EXPECT_GT(a.count, 100) << "the player is not in the tunnel rows in the first picture: "
                            << a.describe();
    EXPECT_GT(b.count, 100) << "the player is not in the tunnel rows in the second picture: "
                            << b.describe();
    EXPECT_GE(std::abs(b.centreX - a.centreX), 10.0)
        << "the player did not move in the second between the pictures: first " << a.describe()
        << "; then " << b.describe();
    EXPECT_TRUE(buttonGone(second)) << "the Start button came back while the game runs";

    expectCloseEndsTheProgram(mainWindow(), "window", std::chrono::milliseconds(5000));
}

}  // namespace
}  // namespace window_test
