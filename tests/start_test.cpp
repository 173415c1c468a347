// Window load, Start, the two-second pause, Wait, Rand and the game's
// 16-bit numbers.
#include <gtest/gtest.h>

#include <vector>

#include "game/int16.h"
#include "platform/rnd.h"
#include "tests/support/scenario.h"
#include "tests/support/trace_fields.h"

namespace {

using gulpo_test::field;
using gulpo_test::number;
using gulpo_test::Scenario;

TEST(WindowLoad, SetsTheGhostsGoingUpAndStopsTheTick) {
    Scenario s("5000 end\n");
    const std::string load = s.only("load");
    EXPECT_EQ(number(load, "t"), 0);
    EXPECT_EQ(number(load, "Ghost1DY"), -25);
    EXPECT_EQ(number(load, "Ghost3DX"), 0);
    EXPECT_EQ(number(load, "PlayerStartLeft"), 840);
    EXPECT_EQ(number(load, "PlayerStartTop"), 2880);
    EXPECT_EQ(number(load, "Lives"), 3);
    EXPECT_EQ(number(load, "Level"), 1);
    EXPECT_EQ(number(load, "tmrMain"), 0);
    // The design-time interval is 1, yet nothing ticks before Start.
    EXPECT_TRUE(s.lines("tick").empty());
    EXPECT_EQ(s.game().imgGhost1.Top(), 2880);
}

TEST(StartButton, HidesBothButtonsAtOnceAndTicksAboutTwoSecondsLater) {
    Scenario s(
        "100 click start\n"
        "600 key 65\n"
        "2200 end\n");
    const std::string key = s.only("key");
    EXPECT_EQ(number(key, "depth"), 1) << "the key arrives inside Start's pause";
    EXPECT_EQ(field(key, "cmdStart"), "false");
    EXPECT_EQ(field(key, "cmdAbout"), "false");
    EXPECT_EQ(number(key, "tmrMain"), 0);
    EXPECT_EQ(number(s.only("wait"), "ms"), 2000);
    const std::string start = s.only("start");
    EXPECT_EQ(number(start, "t"), 2100);
    EXPECT_EQ(number(start, "tmrMain"), 1);
    EXPECT_EQ(field(start, "lblLives"), "3");
    EXPECT_EQ(field(start, "lblLevel"), "1");
    EXPECT_EQ(field(start, "fruit"), "[\"imgBlank\",true]");
    const auto ticks = s.lines("tick");
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(number(ticks[0], "t"), 2117);
}

TEST(StartButton, TheFirstTickPushesTheStillPlayerOffTheWallBelow) {
    Scenario s("0 click start\n2017 end\n");
    ASSERT_TRUE(s.lines("tick").empty());
    s.runTo(2018);
    const std::string tick = s.only("tick");
    EXPECT_EQ(field(tick, "gulpo"), "[840,2850,\"own\"]");
    EXPECT_EQ(number(tick, "PlayerDY"), 0);
    EXPECT_EQ(field(tick, "ghost1"), "[3120,2855,\"own\"]");
    EXPECT_EQ(field(tick, "ghost3"), "[3000,2735,\"own\"]");
    // From 2850 on the bottom probe is free: the player stands still.
    s.runTo(2500);
    EXPECT_EQ(s.game().imgGulpo.Top(), 2850);
    EXPECT_EQ(s.game().imgGulpo.Left(), 840);
}

TEST(StartButton, ClearsTheScoreButLeavesItsLabelAlone) {
    Scenario s("0 set Score 700\n10 click start\n2020 end\n");
    EXPECT_EQ(s.game().Score, 0);
    EXPECT_EQ(s.game().lblScore.Caption(), "");
}

TEST(StartButton, ArrowKeysDuringThePauseSetTheFirstStep) {
    Scenario s("0 click start\n1000 key 37\n2018 end\n");
    const std::string key = s.only("key");
    EXPECT_EQ(number(key, "PlayerDX"), -30);
    EXPECT_EQ(field(key, "gulpo"), "[840,2880,\"imgGulpoLeft\"]");
    EXPECT_EQ(field(s.only("tick"), "gulpo"), "[810,2850,\"imgGulpoLeft\"]");
}

// Records when each posted event arrives while the game waits.
struct WaitRig {
    Scenario s{"0 end\n"};
    std::vector<long long> arrivals;

    void postAt(long long t) {
        s.platform().post(t, [this] { arrivals.push_back(s.platform().nowMs()); });
    }
};

TEST(Wait, SleepsInTenthsOfAtMostAHundredMillisecondsPumpingBetween) {
    WaitRig rig;
    rig.postAt(1050);
    rig.postAt(1999);
    rig.s.game().Wait(2000);
    EXPECT_EQ(rig.s.platform().nowMs(), 2000);
    // Events wait for the end of the slice they fall in; the last 100 ms
    // are slept in one piece.
    EXPECT_EQ(rig.arrivals, (std::vector<long long>{1100}));
    rig.s.platform().DoEvents();
    EXPECT_EQ(rig.arrivals, (std::vector<long long>{1100, 2000}));
}

TEST(Wait, AShortWaitUsesShortSlices) {
    WaitRig rig;
    rig.postAt(12);
    rig.s.game().Wait(50);
    EXPECT_EQ(rig.s.platform().nowMs(), 50);
    EXPECT_EQ(rig.arrivals, (std::vector<long long>{15}));
}

TEST(Wait, ZeroAndNegativeWaitsPumpOnceWithoutSleeping) {
    WaitRig rig;
    rig.postAt(0);
    rig.s.game().Wait(0);
    EXPECT_EQ(rig.s.platform().nowMs(), 0);
    EXPECT_EQ(rig.arrivals.size(), 1u);
    rig.postAt(0);
    rig.s.game().Wait(-300);
    EXPECT_EQ(rig.s.platform().nowMs(), 0);
    EXPECT_EQ(rig.arrivals.size(), 2u);
}

TEST(Wait, ReturnsEarlyWhenTheProgramIsEnding) {
    WaitRig rig;
    rig.s.platform().post(300, [&] { rig.s.platform().endProgram(); });
    rig.s.game().Wait(2000);
    EXPECT_EQ(rig.s.platform().nowMs(), 300);
}

TEST(Rand, ZeroToOneGivesOnlyZerosAndOnesFromTheFixedSequence) {
    Scenario a("0 end\n");
    Scenario b("0 end\n");
    platform::RandomSequence expected;
    int ones = 0;
    for (int i = 0; i < 2000; ++i) {
        const int r = a.game().Rand(0, 1);
        ASSERT_TRUE(r == 0 || r == 1);
        ASSERT_EQ(r, b.game().Rand(0, 1));
        ASSERT_EQ(r, expected.next() < 0.5f ? 0 : 1);
        ones += r;
    }
    EXPECT_NEAR(ones, 1000, 100);
}

TEST(Rand, CoversTheWholeRangeInclusively) {
    Scenario s("0 end\n");
    std::vector<int> seen(7, 0);
    for (int i = 0; i < 5000; ++i) {
        const int r = s.game().Rand(-3, 3);
        ASSERT_GE(r, -3);
        ASSERT_LE(r, 3);
        ++seen[static_cast<std::size_t>(r) + 3];
    }
    for (int count : seen) {
        EXPECT_GT(count, 500);
    }
}

TEST(Int16, StopsAtBothEndsInsteadOfWrapping) {
    game::Int16 score = 32700;
    score = score + 100;
    EXPECT_EQ(score, 32767);
    score = score + 1000;
    EXPECT_EQ(score, 32767);
    game::Int16 low = -32760;
    low = low - 100;
    EXPECT_EQ(low, -32768);
    EXPECT_EQ(game::Int16(70000), 32767);
    EXPECT_EQ(game::Int16(-70000), -32768);
    EXPECT_EQ(game::Int16::fromTwips(2880.0f), 2880);
    EXPECT_EQ(game::Int16::fromTwips(1e9f), 32767);
    EXPECT_EQ(game::Int16(-25) + 0, -25);
}

}  // namespace
