// The first phases of the tick: moving, the player's wall response, the coin
// flip and the tunnel.
#include <gtest/gtest.h>

#include <string>

#include "platform/rnd.h"
#include "tests/support/scenario.h"
#include "tests/support/trace_fields.h"

namespace {

using gulpo_test::field;
using gulpo_test::number;
using gulpo_test::Scenario;

// Start at 0: the first tick falls at 2017 and one follows every 1000/60 ms.
constexpr const char* kStarted = "0 click start\n";

TEST(PlayerWalls, WalkingIntoAWallEndsTheTickWhereItBeganWithTheStepZeroed) {
    // Up from the start spot: Shape4 lies above the player.
    Scenario s(std::string(kStarted) + "2018 key 38\n3000 end\n");
    const auto ticks = s.lines("tick");
    long long previousTop = 2850;
    bool stopped = false;
    for (const auto& t : ticks) {
        const long long top = std::stoll(field(t, "gulpo").substr(5));
        if (!stopped && number(t, "PlayerDY") == 0 && number(t, "t") > 2018) {
            EXPECT_EQ(top, previousTop) << "the tick that meets the wall ends where it began";
            stopped = true;
        }
        previousTop = top;
    }
    ASSERT_TRUE(stopped);
    EXPECT_EQ(s.game().imgGulpo.Top(), 2790);
    // The top probe now lies just below Shape4's bottom edge at 2775.
    EXPECT_EQ(s.game().PlayerDY, 0);
}

TEST(PlayerWalls, PressingIntoTheWallAgainDoesNotMoveThePlayer) {
    Scenario s(std::string(kStarted) + "2018 key 38\n3000 key 38\n3020 end\n");
    EXPECT_EQ(s.game().imgGulpo.Top(), 2790);
    EXPECT_EQ(s.game().PlayerDY, 0);
}

TEST(PlayerWalls, AStillPlayerOnAWallIsPushedAwayEveryTickUntilFree) {
    // Bottom probe deep inside Shape5 (Top 3240): pushed up 30 a tick.
    Scenario s(std::string(kStarted) + "2000 place imgGulpo 840 2940\n2017 end\n");
    s.runTo(2018);
    EXPECT_EQ(s.game().imgGulpo.Top(), 2910);
    s.runTo(2035);
    EXPECT_EQ(s.game().imgGulpo.Top(), 2880);
    s.runTo(2051);
    EXPECT_EQ(s.game().imgGulpo.Top(), 2850);
    s.runTo(2200);
    EXPECT_EQ(s.game().imgGulpo.Top(), 2850);
}

// A tick's step to the tunnel's edge, and the next one past it.
struct Wrap {
    const char* name;
    int left;
    int step;
    int atTheEdge;
    int wrapped;
};

void PrintTo(const Wrap& w, std::ostream* os) {
    *os << w.name;
}

class TunnelWrap : public ::testing::TestWithParam<Wrap> {};

TEST_P(TunnelWrap, OnlyPastItsEdges) {
    const Wrap w = GetParam();
    Scenario s(std::string(kStarted) + "2000 place imgGulpo " + std::to_string(w.left) +
               " 2850\n2000 set PlayerDX " + std::to_string(w.step) + "\n2017 end\n");
    s.runTo(2018);
    EXPECT_EQ(s.game().imgGulpo.Left(), w.atTheEdge);
    s.runTo(2035);
    EXPECT_EQ(s.game().imgGulpo.Left(), w.wrapped) << "the second test does not fire after a wrap";
    EXPECT_EQ(s.game().PlayerDX, w.step);
    EXPECT_EQ(s.game().imgGulpo.Top(), 2850);
}

INSTANTIATE_TEST_SUITE_P(Tunnel, TunnelWrap,
                         ::testing::Values(
                             // 390 - 30 = 360 stays; the next tick's 330 becomes 5640.
                             Wrap{"Leftwards", 390, -30, 360, 5640},
                             // 5650 stays; the next tick's 5680 comes in at 370, not 360.
                             Wrap{"Rightwards", 5620, 30, 5650, 370}),
                         [](const ::testing::TestParamInfo<Wrap>& p) {
                             return std::string(p.param.name);
                         });

TEST(Tunnel, ThePlayerWalksThroughBothWaysWithoutMeetingAWall) {
    // Left from the start spot, out at the left edge and in at the right.
    Scenario s(std::string(kStarted) + "2018 key 37\n2600 end\n");
    bool wrapped = false;
    for (const auto& t : s.lines("tick")) {
        if (number(t, "t") <= 2034) {
            continue;
        }
        ASSERT_EQ(number(t, "PlayerDX"), -30) << t;
        wrapped = wrapped || field(t, "gulpo").starts_with("[5640,2850");
    }
    EXPECT_TRUE(wrapped);

    // Right from 5640: in at 370 on the tick the Left reaches 5670.
    Scenario r(std::string(kStarted) + "2018 place imgGulpo 5640 2850\n2018 key 39\n2100 end\n");
    const auto ticks = r.lines("tick");
    bool cameBack = false;
    for (const auto& t : ticks) {
        if (number(t, "t") > 2018) {
            ASSERT_EQ(number(t, "PlayerDX"), 30) << t;
            cameBack = cameBack || field(t, "gulpo").starts_with("[370,2850");
        }
    }
    EXPECT_TRUE(cameBack);
}

TEST(CoinFlip, ExactlyOneDrawPerTickAlsoWhenNoGhostTurns) {
    Scenario s(std::string(kStarted) + "12000 end\n");
    const auto ticks = s.lines("tick");
    ASSERT_GT(ticks.size(), 500u);
    platform::RandomSequence sequence;
    for (const auto& t : ticks) {
        const long long coin = number(t, "coin");
        ASSERT_EQ(coin, sequence.next() < 0.5f ? 0 : 1) << t;
        ASSERT_EQ(coin, number(t, "CoinFlip"));
    }
}

TEST(Movement, EveryActorMovesEveryTickBeforeAnyProbe) {
    Scenario s(std::string(kStarted) +
               "2000 set Ghost1DX 25\n2000 set Ghost1DY 0\n"
               "2017 end\n");
    s.runTo(2018);
    EXPECT_EQ(s.game().imgGhost1.Left(), 3145);
    EXPECT_EQ(s.game().imgGhost1.Top(), 2880);
    EXPECT_EQ(s.game().imgGhost2.Top(), 2855);
    EXPECT_EQ(s.game().imgGhost3.Top(), 2735);
}

}  // namespace
