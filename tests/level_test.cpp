// Completing a level: the last of the 76 dots stops play, raises the level,
// puts everyone on their spots and refills the maze.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/scenario.h"
#include "tests/support/script_lines.h"
#include "tests/support/trace_fields.h"

namespace {

using gulpo_test::field;
using gulpo_test::number;
using gulpo_test::Scenario;
using gulpo_test::startedWithDotsEaten;

// Every dot but shpFood(0) hidden; the player eats that one at the tick at
// 2017 from (2759, 3500).
std::string lastDotAtFirstTick() {
    return startedWithDotsEaten(1, 75) + "2000 place imgGulpo 2759 3500\n";
}

TEST(LevelCompletion, TheLastDotEndsTheLevelAtOnce) {
    Scenario s(lastDotAtFirstTick() + "2000 big 3 0\n2000 place imgGulpo 2759 3500\n3000 end\n");
    // Play stops in the tick itself.
    const std::string t = s.only("tick");
    EXPECT_EQ(number(t, "tmrMain"), 0);
    EXPECT_EQ(field(t, "cmdStart"), "true");
    EXPECT_EQ(field(t, "cmdAbout"), "true");
    EXPECT_EQ(number(t, "Level"), 2);
    EXPECT_EQ(field(t, "lblLevel"), "2");
    EXPECT_EQ(number(t, "DotsEaten"), 76);
    EXPECT_EQ(field(t, "food"), std::string(76, '1'));
    EXPECT_EQ(field(t, "big"), "1111") << "eaten big dots come back too";
    EXPECT_EQ(field(t, "ghost1"), "[2880,2880,\"imgGhost1real\"]");
    EXPECT_EQ(field(t, "ghost2"), "[3000,2880,\"imgGhost2real\"]");
    EXPECT_EQ(field(t, "ghost3"), "[3100,2880,\"imgGhost3real\"]");
    EXPECT_EQ(field(t, "gulpo"), "[840,2880,\"own\"]") << "the player keeps its last picture";
    EXPECT_EQ(number(t, "Ghost1DY"), -25);
    EXPECT_EQ(number(t, "Ghost3DX"), 0);
    EXPECT_EQ(number(t, "Score"), 100);
    EXPECT_EQ(field(t, "lblScore"), "100");
    EXPECT_EQ(field(t, "fruit"), "[\"imgBlank\",true]");
}

TEST(LevelCompletion, SeventyFiveDotsDoNotComplete) {
    Scenario s(startedWithDotsEaten(1, 75) + "2100 end\n");
    for (const auto& t : s.lines("tick")) {
        EXPECT_EQ(number(t, "DotsEaten"), 0);
        EXPECT_EQ(number(t, "tmrMain"), 1);
    }
    EXPECT_EQ(s.game().Level, 1);
}

TEST(LevelCompletion, StartBeginsTheNextLevelWithTheScoreAtZero) {
    Scenario s(lastDotAtFirstTick() + "3000 click start\n5100 key 37\n5200 end\n");
    const auto starts = s.lines("start");
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(number(starts[1], "DotsEaten"), 0);
    EXPECT_EQ(number(starts[1], "Score"), 0);
    EXPECT_EQ(field(starts[1], "lblLevel"), "2");
    EXPECT_EQ(field(starts[1], "lblScore"), "100") << "kept until points are scored";
    EXPECT_EQ(s.game().Level, 2);
    EXPECT_EQ(s.game().tmrMain.Interval(), 1);
    EXPECT_LT(s.game().imgGulpo.Left(), 840) << "moves only after an arrow key";
}

TEST(LevelCompletion, ALifeLostOnTheLastDotsTickStillCompletesTheLevel) {
    Scenario s(lastDotAtFirstTick() + "2000 place imgGhost1 2759 3500\n5000 end\n");
    EXPECT_EQ(s.game().Lives, 2);
    EXPECT_EQ(s.game().Level, 2);
    // The completion's spots win over those of the lost life.
    EXPECT_EQ(s.game().imgGhost1.Left(), 2880);
    EXPECT_EQ(s.game().imgGhost3.Left(), 3100);
    EXPECT_EQ(s.game().imgGhost3.Top(), 2880);
    EXPECT_EQ(s.game().tmrMain.Interval(), 0);
}

TEST(LevelCompletion, TheLastLifeLostOnTheLastDotsTickEndsTheGameInstead) {
    Scenario s(lastDotAtFirstTick() +
               "2000 set Lives 1\n2000 place imgGhost1 2759 3500\n"
               "5000 end\n");
    EXPECT_EQ(s.game().Level, 1);
    EXPECT_EQ(s.game().lblLevel.Caption(), "1");
    EXPECT_EQ(s.game().DotsEaten, 0);
    EXPECT_EQ(s.game().Lives, 3);
    EXPECT_EQ(s.game().imgGhost3.Left(), 3120) << "the game-over spots";
}

TEST(LevelCompletion, LevelsPastFourKeepCounting) {
    Scenario s(lastDotAtFirstTick() + "2000 set Level 5\n3000 end\n");
    EXPECT_EQ(s.game().Level, 6);
    EXPECT_EQ(s.game().lblLevel.Caption(), "6");
}

}  // namespace
