// Losing a life and game over: the harm test, the two-second freeze, the
// reset, and the state a game over leaves for the next game.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/scenario.h"
#include "tests/support/script_lines.h"
#include "tests/support/trace_fields.h"

namespace {

using gulpo_test::field;
using gulpo_test::number;
using gulpo_test::Scenario;
using gulpo_test::startedWithGhostsParked;

std::string placeAt(long long t, const std::string& sprite, int left, int top) {
    return std::to_string(t) + " place " + sprite + " " + std::to_string(left) + " " +
           std::to_string(top) + "\n";
}

// Ghost n parked at (gl, gt) with the player at (pl, pt); the other ghosts
// stay still in the pen. True when a life was lost on the next tick.
bool costsALife(int n, int gl, int gt, int pl, int pt) {
    Scenario s(startedWithGhostsParked(2000) +
               placeAt(2000, "imgGhost" + std::to_string(n), gl, gt) +
               placeAt(2000, "imgGulpo", pl, pt) + "2017 end\n");
    s.runTo(2018);
    // Start's pause, then the freeze of a lost life.
    return s.lines("wait").size() == 2;
}

TEST(HarmTest, AcrossTheGhostsWidthOneTwipDecides) {
    // In the bottom corridor, clear of walls.
    EXPECT_TRUE(costsALife(1, 1200, 5700, 1200 + 374, 5700));
    EXPECT_FALSE(costsALife(1, 1200, 5700, 1200 + 375, 5700));
    EXPECT_TRUE(costsALife(1, 1200, 5700, 1200 - 374, 5700));
    EXPECT_FALSE(costsALife(1, 1200, 5700, 1200 - 375, 5700));
}

TEST(HarmTest, DownTheGhostsHeightGhostThreeIsShorter) {
    // In the left column below the tunnel.
    EXPECT_TRUE(costsALife(1, 540, 3500, 540, 3500 + 389));
    EXPECT_TRUE(costsALife(2, 540, 3500, 540, 3500 + 389));
    EXPECT_FALSE(costsALife(3, 540, 3500, 540, 3500 + 389));
    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(costsALife(n, 540, 3500, 540, 3500 + 374)) << n;
    }
}

TEST(LostLife, FreezesTwoSecondsThenPutsEveryoneBack) {
    Scenario s(startedWithGhostsParked(2000) + placeAt(2000, "imgGhost2", 1200, 5700) +
               placeAt(2000, "imgGulpo", 1300, 5700) + "2000 food 9 0\n" +
               "2500 key 37\n"  // pressed during the freeze, then forgotten
               "4100 end\n");
    s.runTo(4100);
    const auto waits = s.lines("wait");
    ASSERT_EQ(waits.size(), 2u);
    EXPECT_EQ(number(waits[1], "t"), 2017);
    EXPECT_EQ(number(s.only("key"), "depth"), 1);
    const auto ticks = s.lines("tick");
    ASSERT_FALSE(ticks.empty());
    const std::string& t = ticks[0];
    EXPECT_EQ(number(t, "t"), 4017);
    EXPECT_EQ(field(t, "gulpo"), "[840,2880,\"imgGulpoRight\"]");
    EXPECT_EQ(number(t, "PlayerDX"), 0);
    EXPECT_EQ(number(t, "PlayerDY"), 0);
    EXPECT_EQ(field(t, "ghost1"), "[3120,2880,\"imgGhost1real\"]");
    EXPECT_EQ(field(t, "ghost2"), "[3000,2880,\"imgGhost2real\"]");
    EXPECT_EQ(field(t, "ghost3"), "[3000,2760,\"imgGhost3real\"]");
    EXPECT_EQ(number(t, "Ghost2DY"), -25);
    EXPECT_EQ(number(t, "Lives"), 2);
    EXPECT_EQ(field(t, "lblLives"), "2");
    EXPECT_EQ(field(t, "food").substr(9, 1), "0") << "eaten dots stay eaten";
    EXPECT_EQ(number(t, "tmrMain"), 1);
}

TEST(LostLife, ABlueGhostOnThePlayerCostsNoLife) {
    Scenario s(startedWithGhostsParked(2000) + "2000 place imgGulpo 590 350\n" +
               placeAt(2100, "imgGhost1", 1200, 5700) + placeAt(2100, "imgGulpo", 1250, 5700) +
               "2200 end\n");
    EXPECT_EQ(s.game().Lives, 3);
    EXPECT_EQ(s.lines("wait").size(), 1u);
}

TEST(LostLife, TwoNormalGhostsOnThePlayerCostOneLife) {
    Scenario s(startedWithGhostsParked(2000) + placeAt(2000, "imgGhost1", 1200, 5700) +
               placeAt(2000, "imgGhost3", 1250, 5700) + placeAt(2000, "imgGulpo", 1220, 5700) +
               "5000 end\n");
    EXPECT_EQ(s.game().Lives, 2);
    EXPECT_EQ(s.lines("wait").size(), 2u);
}

// Three times ghost 1 dropped onto the player: the game is over.
std::string threeLivesLost() {
    return "0 click start\n2000 place imgGhost1 840 2850\n2000 food 5 0\n2000 big 0 0\n"
           "5000 place imgGhost1 840 2850\n8000 place imgGhost1 840 2850\n";
}

TEST(GameOver, TheLivesLabelCountsDownAndTheLastLifeEndsTheGame) {
    Scenario s("0 set Score 1500\n" + threeLivesLost() + "12000 end\n");
    std::string labels;
    for (const auto& t : s.lines("tick")) {
        const std::string l = field(t, "lblLives");
        if (labels.empty() || labels.back() != l.back()) {
            labels += l;
        }
    }
    EXPECT_EQ(labels, "210") << "one label per lost life";
    game::FrmGulpo& g = s.game();
    EXPECT_EQ(g.tmrMain.Interval(), 0);
    EXPECT_TRUE(g.cmdStart.Visible());
    EXPECT_TRUE(g.cmdAbout.Visible());
    EXPECT_EQ(g.Lives, 3);
    EXPECT_EQ(g.Level, 1);
    EXPECT_EQ(g.lblLevel.Caption(), "1");
    EXPECT_EQ(g.lblLives.Caption(), "0");
    EXPECT_EQ(g.lblScore.Caption(), "") << "the score label is left as it was";
    EXPECT_EQ(g.Score, 0) << "Start cleared it";
    EXPECT_TRUE(g.shpFood(5).Visible());
    EXPECT_TRUE(g.shpBig(0).Visible());
    // Ghost 1 ended it: ghosts 1 and 3 share its spot for the next game.
    EXPECT_EQ(g.imgGhost1.Left(), 3120);
    EXPECT_EQ(g.imgGhost3.Left(), 3120);
    EXPECT_EQ(g.imgGhost3.Top(), 2880);
    EXPECT_EQ(g.imgGhost2.Left(), 3000);
    EXPECT_EQ(g.frmGulpo.focused(), nullptr) << "shown buttons do not take the focus";
}

TEST(GameOver, AfterGhostTwoOrThreeTheGhostsStandApart) {
    for (const char* ghost : {"imgGhost2", "imgGhost3"}) {
        Scenario s(std::string("0 click start\n2000 set Lives 1\n2000 place ") + ghost +
                   " 840 2850\n5000 end\n");
        game::FrmGulpo& g = s.game();
        EXPECT_EQ(g.imgGhost1.Left(), 2880) << ghost;
        EXPECT_EQ(g.imgGhost1.Top(), 2880) << ghost;
        EXPECT_EQ(g.imgGhost2.Left(), 3000) << ghost;
        EXPECT_EQ(g.imgGhost3.Left(), 3120) << ghost;
        EXPECT_EQ(g.imgGhost3.Top(), 2880) << ghost;
    }
}

TEST(GameOver, EnterThenStartsANewGameFromTheSpotsItLeft) {
    Scenario s(threeLivesLost() + "12000 key 13\n16000 end\n");
    EXPECT_EQ(s.lines("start").size(), 2u);
    EXPECT_EQ(s.game().lblLives.Caption(), "3");
    EXPECT_EQ(s.game().tmrMain.Interval(), 1);
    EXPECT_EQ(s.firstBrokenInvariant(), "");
}

}  // namespace
