// Frightened ghosts: the blue picture and the timer that go together, ten
// seconds from the last big dot, and blue ghosts eaten back to the pen.
#include <gtest/gtest.h>

#include <string>

#include "sessions/dice.h"
#include "tests/support/scenario.h"
#include "tests/support/script_lines.h"
#include "tests/support/trace_fields.h"

namespace {

using gulpo_test::field;
using gulpo_test::number;
using gulpo_test::placePlayer;
using gulpo_test::PlayerAt;
using gulpo_test::Scenario;
using gulpo_test::startedWithGhostsParked;

// Big dot 0 at (600, 360) is eaten on the first tick, at 2017.
const std::string kBigDotAtFirstTick =
    startedWithGhostsParked(2000) + "2000 place imgGulpo 590 350\n";

TEST(Frightened, ABigDotTurnsAllThreeBlueForTenSeconds) {
    Scenario s(kBigDotAtFirstTick + "13000 end\n");
    const auto ghosts = s.lines("ghost");
    ASSERT_EQ(ghosts.size(), 3u);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(number(ghosts[n - 1], "t"), 12017);
        EXPECT_EQ(number(ghosts[n - 1], "n"), n);
    }
    EXPECT_EQ(field(ghosts[2], "tmrGhost"), "[false,false,false]");
    EXPECT_NE(field(ghosts[0], "ghost1").find("imgGhost1real"), std::string::npos);
    EXPECT_NE(field(ghosts[0], "ghost2").find("imgBlue"), std::string::npos)
        << "each ghost ends on its own timer";
    EXPECT_EQ(s.firstBrokenInvariant(), "");
}

TEST(Frightened, ASecondBigDotNineSecondsLaterKeepsThemBlueTillNineteen) {
    Scenario s(kBigDotAtFirstTick + "11017 place imgGulpo 5510 350\n30000 end\n");
    const auto ghosts = s.lines("ghost");
    ASSERT_EQ(ghosts.size(), 3u);
    // The second big dot is eaten on the tick at 11017, nine seconds on.
    EXPECT_EQ(number(ghosts[0], "t"), 21017);
    for (const auto& t : s.lines("tick")) {
        if (number(t, "t") < 21017) {
            EXPECT_EQ(field(t, "tmrGhost"), "[true,true,true]") << number(t, "t");
        }
    }
}

TEST(Frightened, AGhostTouchedOnTheBigDotsTickIsEatenNotHarmful) {
    Scenario s(startedWithGhostsParked(2000) +
               "2000 place imgGulpo 590 350\n"
               "2000 place imgGhost1 700 400\n2017 end\n");
    s.runTo(2018);
    EXPECT_EQ(s.game().Score, 1200);
    EXPECT_EQ(s.game().Lives, 3);
    EXPECT_EQ(s.game().lblScore.Caption(), "1200");
    EXPECT_EQ(s.game().imgGhost1.Left(), 3120);
    EXPECT_EQ(s.game().imgGhost1.Top(), 2880);
    EXPECT_FALSE(s.game().tmrGhost1.Enabled());
    EXPECT_EQ(s.game().imgGhost1.picture(), s.game().imgGhost1real.picture());
    EXPECT_EQ(s.game().Ghost1DY, -25);
    EXPECT_TRUE(s.game().tmrGhost2.Enabled()) << "the others stay blue";
}

TEST(Frightened, TwoBlueGhostsEatenInOneTickGiveTwoThousand) {
    Scenario s(kBigDotAtFirstTick +
               "2100 place imgGhost1 1400 2000\n"
               "2100 place imgGhost2 1420 2010\n"
               "2100 place imgGulpo 1400 2000\n2200 end\n");
    EXPECT_EQ(s.game().Score, 200 + 2000);
    EXPECT_EQ(s.game().lblScore.Caption(), "2200");
    EXPECT_EQ(s.game().imgGhost2.Left(), 2880);
    EXPECT_EQ(s.game().imgGhost1.Left(), 3120);
    EXPECT_TRUE(s.game().tmrGhost3.Enabled());
    EXPECT_EQ(s.game().Lives, 3);
}

TEST(Frightened, GhostsTwoAndThreeEatenTogetherBothStandOnTheSameSpot) {
    Scenario s(kBigDotAtFirstTick +
               "2100 place imgGhost2 1400 2000\n"
               "2100 place imgGhost3 1380 1990\n"
               "2100 place imgGulpo 1400 2000\n2200 end\n");
    EXPECT_EQ(s.game().Score, 2200);
    for (const auto* g : {&s.game().imgGhost2, &s.game().imgGhost3}) {
        EXPECT_EQ(g->Left(), 2880);
    }
    // Both have taken a few steps up from (2880, 2880) since.
    EXPECT_EQ(s.game().imgGhost2.Top(), s.game().imgGhost3.Top());
}

TEST(Frightened, AnEatenGhostIsNormalAtOnceAndCanCostALife) {
    Scenario s(kBigDotAtFirstTick +
               "2100 place imgGhost1 1400 2000\n"
               "2100 place imgGulpo 1400 2000\n"
               "2200 set Ghost1DY 0\n"
               "2200 place imgGhost1 1400 2000\n6000 end\n");
    EXPECT_EQ(s.game().Lives, 2) << "normal again, ghost 1 harms on the next contact";
    EXPECT_GE(s.lines("wait").size(), 2u);
}

// Ghost 1 (375 by 390) at (3120, 2880): blue, the player's Left from 2746 to
// 3494 and its Top from 2491 to 3269 touch it; one twip on each side of the
// left, the right and the bottom edge, where no wall bumps the player off
// (at Top 2880 a wall to its right does).
class GhostContact : public ::testing::TestWithParam<PlayerAt> {};

TEST_P(GhostContact, UsesTheGhostsSizeOnBothSides) {
    const PlayerAt c = GetParam();
    Scenario s(kBigDotAtFirstTick + placePlayer(2100, c) +
               "2100 place imgGhost1 3120 2880\n"
               "2100 place imgGhost2 6000 6600\n2100 place imgGhost3 6000 6600\n2117 end\n");
    s.runTo(2118);
    // No wall pushes the player off the point the case is about.
    ASSERT_EQ(s.game().imgGulpo.Left(), static_cast<float>(c.left));
    ASSERT_EQ(s.game().imgGulpo.Top(), static_cast<float>(c.top));
    EXPECT_EQ(s.game().Score == 1200, c.eats);
}

INSTANTIATE_TEST_SUITE_P(Frightened, GhostContact,
                         ::testing::Values(PlayerAt{2746, 2880, true}, PlayerAt{2745, 2880, false},
                                           PlayerAt{3494, 3200, true}, PlayerAt{3495, 3200, false},
                                           PlayerAt{3120, 3269, true},
                                           PlayerAt{3120, 3270, false}));

TEST(Frightened, TheStateStaysWholeThroughALongRandomSession) {
    std::string script = "0 click start\n";
    sessions::Dice dice(12345);
    for (long long t = 2100; t < 400000; t += 150 + dice.roll(900)) {
        script += std::to_string(t) + " key " + std::to_string(37 + dice.roll(4)) + "\n";
        if (dice.roll(40) == 0) {
            script += std::to_string(t) + " click start\n";
        }
    }
    script += "400000 end\n";
    Scenario s(script);
    EXPECT_EQ(s.firstBrokenInvariant(), "");
    EXPECT_GT(s.lines("tick").size(), 1000u);
}

}  // namespace

namespace {

// Records which elements the window is told about, in order.
class ChangeLog : public platform::FormView {
  public:
    explicit ChangeLog(platform::Form& form) : form_(form) { form.setView(this); }
    ~ChangeLog() override { form_.setView(nullptr); }
    void elementChanged(const platform::Element& e, const platform::Box& /*before*/) override {
        names.push_back(e.name());
    }
    void visibilityChanged(bool) override {}
    void focusChanged() override {}
    void formDestroyed() override {}
    std::vector<std::string> names;

  private:
    platform::Form& form_;
};

TEST(Frightened, BlueGhostsAreEatenGhostTwoFirstThenOneThenThree) {
    Scenario s(kBigDotAtFirstTick +
               "2090 place imgGhost1 1400 2000\n"
               "2090 place imgGhost2 1410 2000\n"
               "2090 place imgGhost3 1420 2000\n"
               "2090 place imgGulpo 1400 2000\n2095 end\n");
    ChangeLog log(s.game().frmGulpo);
    s.runTo(2101);  // the tick at 2100
    // The ghosts are parked, so the only writes to them are their eating.
    std::vector<std::string> returned;
    for (const std::string& n : log.names) {
        if (n.starts_with("imgGhost") && (returned.empty() || returned.back() != n)) {
            returned.push_back(n);
        }
    }
    ASSERT_GE(returned.size(), 3u);
    const std::vector<std::string> eaten(returned.end() - 3, returned.end());
    EXPECT_EQ(eaten, (std::vector<std::string>{"imgGhost2", "imgGhost1", "imgGhost3"}))
        << ::testing::PrintToString(log.names);
    EXPECT_EQ(s.game().Score, 200 + 3000);
}

}  // namespace
