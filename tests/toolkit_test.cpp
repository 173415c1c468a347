// The toolkit layer: the colour query, picture objects, control arrays, the
// random sequence and the simulated clock and pump.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/number_text.h"
#include "platform/rnd.h"
#include "platform/sim/sim_platform.h"
#include "playfield/layout.h"
#include "playfield/playfield.h"
#include "sessions/dice.h"

namespace {

using playfield::kWalls;
using playfield::WallColour;

// Whether a point lies on any wall rectangle (L <= x < L + W, T <= y < T + H).
bool onAnyWall(float x, float y) {
    for (const auto& w : kWalls) {
        if (x >= static_cast<float>(w.left) && x < static_cast<float>(w.left + w.width) &&
            y >= static_cast<float>(w.top) && y < static_cast<float>(w.top + w.height)) {
            return true;
        }
    }
    return false;
}

class WallColourQuery : public ::testing::Test {
  protected:
    playfield::Playfield scene;
    bool wall(float x, float y) const { return scene.frmGulpo.Point(x, y) == WallColour; }
};

TEST_F(WallColourQuery, ReadsWallExactlyOnTheWallRectanglesAroundEveryEdge) {
    for (const auto& w : kWalls) {
        const float l = static_cast<float>(w.left);
        const float t = static_cast<float>(w.top);
        const float r = static_cast<float>(w.left + w.width);
        const float b = static_cast<float>(w.top + w.height);
        const float xs[] = {l - 0.5f, l, l + 0.5f, (l + r) / 2, r - 0.5f, r, r + 0.5f};
        const float ys[] = {t - 0.5f, t, t + 0.5f, (t + b) / 2, b - 0.5f, b, b + 0.5f};
        for (float x : xs) {
            for (float y : ys) {
                EXPECT_EQ(wall(x, y), onAnyWall(x, y))
                    << w.name << " at (" << x << ", " << y << ")";
            }
        }
        EXPECT_TRUE(wall(l, t)) << w.name << " top-left corner";
        EXPECT_TRUE(wall(r - 0.5f, b - 0.5f)) << w.name << " last half twip";
    }
}

TEST_F(WallColourQuery, AgreesWithTheWallRectanglesAtEveryPixelCentre) {
    int mismatches = 0;
    for (int py = 0; py < playfield::kClientHeight / 15; ++py) {
        for (int px = 0; px < playfield::kClientWidth / 15; ++px) {
            const float x = (static_cast<float>(px) + 0.5f) * 15;
            const float y = (static_cast<float>(py) + 0.5f) * 15;
            if (wall(x, y) != onAnyWall(x, y)) {
                ++mismatches;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(WallColourQuery, ActorsNeverHideAWallAndShowNoWallOnTheirOwn) {
    // The player at load stands on Shape5 with its bottom probe.
    EXPECT_TRUE(wall(1027.5f, 3255));
    // Over open floor the player's own picture is no wall.
    EXPECT_FALSE(wall(1027.5f, 3067.5f));
    // A ghost parked on a wall leaves the wall visible to the probe.
    scene.imgGhost1.setLeft(2520);
    scene.imgGhost1.setTop(1320);
    EXPECT_TRUE(wall(2600, 1400));
    EXPECT_FALSE(wall(2600, 1600));
}

TEST_F(WallColourQuery, DotsAndTheOutsideAreNoWall) {
    const auto& dot = scene.shpFood(0);
    EXPECT_EQ(scene.frmGulpo.Point(dot.Left() + 67, dot.Top() + 67), playfield::DotColour);
    scene.shpFood(0).setVisible(false);
    EXPECT_NE(scene.frmGulpo.Point(dot.Left() + 67, dot.Top() + 67), playfield::DotColour);
    EXPECT_EQ(scene.frmGulpo.Point(scene.shpBig(0).Left() + 127, scene.shpBig(0).Top() + 127),
              playfield::BigDotColour);
    // Beyond the outer frame: the tunnel mouths and the window's margins.
    EXPECT_FALSE(wall(300, 2900));
    EXPECT_FALSE(wall(6200, 2900));
    EXPECT_FALSE(wall(100, 100));
    EXPECT_FALSE(wall(-500, -500));
    EXPECT_FALSE(wall(20000, 20000));
    EXPECT_EQ(scene.frmGulpo.Point(100, 100), platform::rgb(0, 0, 0));
}

TEST(PictureObjects, AssignmentSharesTheObjectAndItsHandle) {
    playfield::Playfield scene;
    EXPECT_NE(scene.imgGulpo.picture().Handle(), scene.imgGulpoRight.picture().Handle())
        << "the start picture is an object of its own";
    scene.imgGulpo.setPicture(scene.imgGulpoLeft.picture());
    EXPECT_EQ(scene.imgGulpo.picture().Handle(), scene.imgGulpoLeft.picture().Handle());
    EXPECT_TRUE(scene.imgGulpo.picture() == scene.imgGulpoLeft.picture());
    scene.imgGhost2.setPicture(scene.imgBlue.picture());
    scene.imgGhost3.setPicture(scene.imgGhost2.picture());
    EXPECT_EQ(scene.imgGhost3.picture().Handle(), scene.imgBlue.picture().Handle());
    // The same artwork in two objects is two handles.
    EXPECT_NE(scene.imgGhost1.picture().Handle(), scene.imgGhost1real.picture().Handle());
}

TEST(PictureObjects, TheEmptyPictureMatchesNoFruitOrGhost) {
    playfield::Playfield scene;
    const std::uint32_t blank = scene.imgBlank.picture().Handle();
    for (const char* name : {"imgCherry", "imgStrawberry", "imgPeach", "imgApple", "imgBlue",
                             "imgGhost1real", "imgGhost2real", "imgGhost3real", "imgFruit"}) {
        EXPECT_NE(scene.sprite(name).picture().Handle(), blank) << name;
    }
    EXPECT_TRUE(scene.imgBlank.picture().isEmpty());
    scene.imgFruit.setPicture(scene.imgBlank.picture());
    EXPECT_EQ(scene.imgFruit.picture().Handle(), blank);
}

TEST(ControlArrays, AnIndexOutOfRangeIsAReportedError) {
    playfield::Playfield scene;
    EXPECT_NO_THROW(scene.shpFood(0));
    EXPECT_NO_THROW(scene.shpFood(75));
    EXPECT_NO_THROW(scene.shpBig(3));
    try {
        scene.shpFood(76);
        FAIL() << "shpFood(76) did not throw";
    } catch (const std::out_of_range& e) {
        EXPECT_NE(std::string(e.what()).find("shpFood(76)"), std::string::npos) << e.what();
    }
    EXPECT_THROW(scene.shpFood(-1), std::out_of_range);
    EXPECT_THROW(scene.shpBig(4), std::out_of_range);
    EXPECT_THROW(scene.shpBig(-1), std::out_of_range);
}

TEST(RandomSequence, IsTheSameFixedUniformSequenceInEveryRun) {
    platform::RandomSequence a;
    platform::RandomSequence b;
    double sum = 0;
    int low = 0;
    constexpr int kDraws = 100000;
    for (int i = 0; i < kDraws; ++i) {
        const float r = a.next();
        ASSERT_EQ(r, b.next());
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        sum += r;
        low += r < 0.5f ? 1 : 0;
    }
    EXPECT_NEAR(sum / kDraws, 0.5, 0.01);
    EXPECT_NEAR(static_cast<double>(low) / kDraws, 0.5, 0.01);
    // The start of the sequence is part of the game: every run and every
    // build sees these.
    platform::RandomSequence fresh;
    EXPECT_FLOAT_EQ(fresh.next(), 0.025355637f);
    EXPECT_FLOAT_EQ(fresh.next(), 0.77161169f);
}

TEST(NumberText, IsDigitsWithALeadingMinusAndNoBlank) {
    EXPECT_EQ(platform::numberText(7600), "7600");
    EXPECT_EQ(platform::numberText(0), "0");
    EXPECT_EQ(platform::numberText(-25), "-25");
    EXPECT_EQ(platform::numberText(32767), "32767");
}

TEST(SimulatedPlatform, ClockStartsAtZeroAndSleepAdvancesIt) {
    platform::SimPlatform sim;
    EXPECT_EQ(sim.nowMs(), 0);
    EXPECT_EQ(sim.timeGetTime(), 0u);
    sim.Sleep(250);
    EXPECT_EQ(sim.nowMs(), 250);
    sim.Sleep(0);
    sim.Sleep(-5);
    EXPECT_EQ(sim.nowMs(), 250);
}

TEST(SimulatedPlatform, PumpDeliversEventsDueByNowInTimeOrder) {
    platform::SimPlatform sim;
    std::vector<std::string> seen;
    sim.post(30, [&] { seen.push_back("b@30"); });
    sim.post(10, [&] { seen.push_back("a@10"); });
    sim.post(10, [&] { seen.push_back("a2@10"); });
    sim.post(500, [&] { seen.push_back("late"); });
    sim.DoEvents();
    EXPECT_TRUE(seen.empty()) << "nothing is due at 0";
    sim.Sleep(40);
    sim.DoEvents();
    EXPECT_EQ(seen, (std::vector<std::string>{"a@10", "a2@10", "b@30"}));
}

TEST(SimulatedPlatform, MainLoopJumpsFromEventToEventAndCountsDepth) {
    platform::SimPlatform sim;
    std::vector<std::pair<long long, int>> seen;
    sim.post(100, [&] {
        seen.emplace_back(sim.nowMs(), sim.depth());
        sim.Sleep(50);
        sim.DoEvents();  // delivers the event at 120 from inside this one
    });
    sim.post(120, [&] { seen.emplace_back(sim.nowMs(), sim.depth()); });
    sim.post(900, [&] { seen.emplace_back(sim.nowMs(), sim.depth()); });
    EXPECT_EQ(sim.run(1000), 1000);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], std::make_pair(100LL, 0));
    EXPECT_EQ(seen[1], std::make_pair(150LL, 1));
    EXPECT_EQ(seen[2], std::make_pair(900LL, 0));
}

TEST(SimulatedPlatform, AStopInTheMiddleOfASleepEndsTheRunThere) {
    platform::SimPlatform sim;
    bool after = false;
    sim.post(100, [&] {
        sim.Sleep(5000);
        after = true;
    });
    EXPECT_EQ(sim.run(1000), 1000);
    EXPECT_FALSE(after);
}

TEST(SimulatedPlatform, AnEndingProgramDeliversNothingMore) {
    platform::SimPlatform sim;
    int delivered = 0;
    sim.post(10, [&] { sim.endProgram(); });
    sim.post(20, [&] { ++delivered; });
    sim.run(1000);
    EXPECT_TRUE(sim.ending());
    EXPECT_EQ(delivered, 0);
    EXPECT_EQ(sim.nowMs(), 10);
}

}  // namespace

namespace {

// The composed picture worked out the slow way: every layer from the top.
platform::Colour composedAt(const platform::Form& form, float x, float y) {
    for (auto it = form.buttons().rbegin(); it != form.buttons().rend(); ++it) {
        if ((*it)->Visible() && (*it)->box().contains(x, y)) {
            return platform::resolveColour(platform::kButtonFace);
        }
    }
    for (auto it = form.layers().rbegin(); it != form.layers().rend(); ++it) {
        const platform::Element& e = **it;
        if (!e.Visible() || !e.box().contains(x, y)) {
            continue;
        }
        if (e.kind() == platform::ElementKind::shape) {
            const auto& s = static_cast<const platform::Shape&>(e);
            if (s.covers(x, y)) {
                return platform::resolveColour(s.FillColor());
            }
        } else if (e.kind() == platform::ElementKind::image) {
            platform::Colour c = 0;
            if (static_cast<const platform::Image&>(e).colourAt(x, y, c)) {
                return c;
            }
        } else if (e.kind() == platform::ElementKind::label) {
            const auto& l = static_cast<const platform::Label&>(e);
            if (!l.style().transparent) {
                return platform::resolveColour(l.style().backColour);
            }
        }
    }
    return platform::resolveColour(form.background());
}

TEST(ColourQuery, MatchesTheLayersFromTheTopAsSpritesMoveAndDotsGo) {
    playfield::Playfield scene;
    platform::Image* movers[] = {&scene.imgGulpo, &scene.imgGhost1, &scene.imgGhost2,
                                 &scene.imgGhost3};
    sessions::Dice dice(99);
    int checked = 0;
    for (int round = 0; round < 300; ++round) {
        // Sprites go anywhere, outside the maze and the window too.
        platform::Image& m = *movers[dice.roll(4)];
        m.setLeft(static_cast<float>(dice.roll(9000) - 1000));
        m.setTop(static_cast<float>(dice.roll(10000) - 1000));
        scene.shpFood(dice.roll(76)).setVisible(dice.roll(2) == 0);
        if (round % 50 == 0) {
            m.setPicture(scene.imgBlue.picture());
        }
        for (int k = 0; k < 200; ++k) {
            const float x = static_cast<float>(dice.roll(18000) - 2000) / 2;
            const float y = static_cast<float>(dice.roll(20000) - 2000) / 2;
            ASSERT_EQ(scene.frmGulpo.Point(x, y), composedAt(scene.frmGulpo, x, y))
                << "at (" << x << ", " << y << ") round " << round;
            ++checked;
        }
        // Near the moved sprite's edges.
        for (float dx : {-0.5f, 0.0f, 0.5f, 187.5f, 374.5f, 375.0f}) {
            const float x = m.Left() + dx;
            const float y = m.Top() + dx;
            ASSERT_EQ(scene.frmGulpo.Point(x, y), composedAt(scene.frmGulpo, x, y));
        }
    }
    EXPECT_EQ(checked, 60000);
}

}  // namespace
