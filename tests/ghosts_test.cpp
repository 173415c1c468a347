// Ghost steering: the probes, the push of 50 twips and each ghost's way of
// turning.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/scenario.h"
#include "tests/support/script_lines.h"
#include "tests/support/trace_fields.h"

namespace {

using gulpo_test::field;
using gulpo_test::number;
using gulpo_test::Scenario;

long long leftOf(const std::string& sprite) {
    return std::stoll(sprite.substr(1));
}
long long topOf(const std::string& sprite) {
    return std::stoll(sprite.substr(sprite.find(',') + 1));
}

TEST(GhostSteering, GhostsOneAndTwoMeetTheWallAboveThePenTogetherAndPartByTheCoin) {
    Scenario s("0 click start\n4000 end\n");
    bool met = false;
    for (const auto& t : s.lines("tick")) {
        // On the way up ghost 1 passes 1480 once before meeting the wall.
        if (topOf(field(t, "ghost1")) != 1480 || number(t, "Ghost1DY") != 0) {
            continue;
        }
        met = true;
        EXPECT_EQ(topOf(field(t, "ghost2")), 1480) << "same tick for both";
        const long long coin = number(t, "coin");
        EXPECT_EQ(number(t, "Ghost2DY"), 0);
        EXPECT_EQ(number(t, "Ghost1DX"), coin == 0 ? 25 : -25);
        EXPECT_EQ(number(t, "Ghost2DX"), coin == 0 ? -25 : 25) << "ghost 2 goes the other way";
        break;
    }
    EXPECT_TRUE(met) << "ghost 1 never stood at Top 1480";
}

TEST(GhostSteering, GhostThreeMeetsTheWallAboveThePenAndTurnsTowardsThePlayer) {
    Scenario s("0 click start\n4000 end\n");
    bool met = false;
    for (const auto& t : s.lines("tick")) {
        if (topOf(field(t, "ghost3")) == 1485 && number(t, "Ghost3DY") == 0) {
            met = true;
            // The player (Left 840) is left of ghost 3 (Left 3000).
            EXPECT_EQ(number(t, "Ghost3DX"), -25);
            EXPECT_EQ(leftOf(field(t, "ghost3")), 3000);
            break;
        }
    }
    EXPECT_TRUE(met);
}

TEST(GhostSteering, GhostThreeTiesGoRightAndUp) {
    // In line with the player (equal Lefts) after the wall above: right.
    Scenario inLine(gulpo_test::startedWithGhostsParked(2000) +
                    "2000 place imgGulpo 3000 2280\n"
                    "2000 place imgGhost3 3000 1440\n2000 set Ghost3DY -25\n2017 end\n");
    inLine.runTo(2018);
    EXPECT_EQ(inLine.game().imgGhost3.Top(), 1465);
    EXPECT_EQ(inLine.game().Ghost3DX, 25);
    EXPECT_EQ(inLine.game().Ghost3DY, 0);

    // Level with the player (equal Tops) after a wall at its side: up.
    Scenario level(gulpo_test::startedWithGhostsParked(2000) +
                   "2000 place imgGulpo 840 2850\n"
                   "2000 place imgGhost3 2675 2850\n2000 set Ghost3DX -25\n2017 end\n");
    level.runTo(2018);
    EXPECT_EQ(level.game().imgGhost3.Left(), 2700);
    EXPECT_EQ(level.game().Ghost3DY, -25);
    EXPECT_EQ(level.game().Ghost3DX, 0);

    // With the player lower down it turns down instead.
    Scenario below(gulpo_test::startedWithGhostsParked(2000) +
                   "2000 place imgGulpo 840 3000\n"
                   "2000 place imgGhost3 2675 2850\n2000 set Ghost3DX -25\n2017 end\n");
    below.runTo(2018);
    EXPECT_EQ(below.game().Ghost3DY, 25);
}

// Ghost 1 going up into walls: where the probes push it, and the step the
// coin gives it on the axis the last probe leaves open.
struct Probes {
    const char* name;
    int left;
    int top;
    int pushedLeft;
    int pushedTop;
    bool sideways;  // the coin's step is across, not along the way it went
};

void PrintTo(const Probes& p, std::ostream* os) {
    *os << p.name;
}

class WallProbes : public ::testing::TestWithParam<Probes> {};

TEST_P(WallProbes, PushTheGhostAsideAndTheLastStepsWin) {
    const Probes p = GetParam();
    Scenario s(gulpo_test::startedWithGhostsParked(2000) + "2000 place imgGhost1 " +
               std::to_string(p.left) + " " + std::to_string(p.top) +
               "\n2000 set Ghost1DY -25\n2017 end\n");
    s.runTo(2018);
    const auto tick = s.lines("tick").back();
    const int coinStep = number(tick, "coin") == 0 ? 25 : -25;
    EXPECT_EQ(s.game().imgGhost1.Left(), p.pushedLeft);
    EXPECT_EQ(s.game().imgGhost1.Top(), p.pushedTop);
    EXPECT_EQ(s.game().Ghost1DX, p.sideways ? coinStep : 0);
    EXPECT_EQ(s.game().Ghost1DY, p.sideways ? 0 : coinStep);
}

INSTANTIATE_TEST_SUITE_P(GhostSteering, WallProbes,
                         ::testing::Values(
                             // Along Shape17's right edge, its left probe inside: pushed aside,
                             // and it may reverse.
                             Probes{"ASideProbeBrushingAWall", 2040, 3500, 2090, 3475, false},
                             // Into the top-left corner of the maze: the left probe, then the top.
                             Probes{"SeveralProbesInOneTick", 480, 270, 530, 295, true}),
                         [](const ::testing::TestParamInfo<Probes>& p) {
                             return std::string(p.param.name);
                         });

TEST(GhostSteering, AGhostWalkingIntoAWallEndsTwentyFiveFartherFromIt) {
    Scenario s(gulpo_test::startedWithGhostsParked(2000) +
               "2000 place imgGhost2 3000 1480\n2000 set Ghost2DY -25\n2017 end\n");
    s.runTo(2018);
    // 1480 - 25 = 1455 is free: Shape30 covers up to 1454.
    EXPECT_EQ(s.game().imgGhost2.Top(), 1455);
    EXPECT_EQ(s.game().Ghost2DY, -25);
    s.runTo(2035);
    EXPECT_EQ(s.game().imgGhost2.Top(), 1480);
    EXPECT_EQ(s.game().Ghost2DY, 0);
}

TEST(GhostSteering, GhostsFreeOfWallsKeepTheirSteps) {
    Scenario s("0 click start\n2100 end\n");
    for (const auto& t : s.lines("tick")) {
        EXPECT_EQ(number(t, "Ghost1DY"), -25);
        EXPECT_EQ(number(t, "Ghost2DY"), -25);
        EXPECT_EQ(number(t, "Ghost3DY"), -25);
    }
}

TEST(GhostSteering, GhostsRoamTheMazeForMinutesWithAStepAlwaysOnOneAxis) {
    Scenario s("0 click start\n2100 place imgGulpo 840 2850\n180000 end\n");
    EXPECT_EQ(s.firstBrokenInvariant(), "");
    // They have left the pen and been about.
    long long minLeft = 100000;
    long long maxLeft = -100000;
    for (const auto& t : s.lines("tick")) {
        minLeft = std::min(minLeft, leftOf(field(t, "ghost1")));
        maxLeft = std::max(maxLeft, leftOf(field(t, "ghost1")));
    }
    EXPECT_GT(maxLeft - minLeft, 1000);
}

}  // namespace
