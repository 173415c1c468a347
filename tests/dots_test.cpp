// Eating dots and big dots: the strict reach test, points, beeps and the
// score label.
#include <gtest/gtest.h>

#include <string>

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

// Counts the score label's refreshes as the window would redraw them.
class LabelWatch : public platform::FormView {
  public:
    LabelWatch(platform::Form& form, const platform::Label& label) : label_(label) {
        form.setView(this);
    }
    void elementChanged(const platform::Element& e, const platform::Box& /*before*/) override {
        if (&e == &label_) {
            ++refreshes;
        }
    }
    void visibilityChanged(bool) override {}
    void focusChanged() override {}
    void formDestroyed() override {}
    int refreshes = 0;

  private:
    const platform::Label& label_;
};

TEST(Dots, ADotOnThePlayersLeftEdgeIsNotEatenAndOneTwipInsideIs) {
    // shpFood(0) sits at (2760, 3600).
    Scenario edge(startedWithGhostsParked(2000) + "2000 place imgGulpo 2760 3500\n2017 end\n");
    edge.runTo(2018);
    EXPECT_TRUE(edge.game().shpFood(0).Visible());
    EXPECT_EQ(edge.game().Score, 0);

    Scenario inside(startedWithGhostsParked(2000) + "2000 place imgGulpo 2759 3500\n2017 end\n");
    inside.runTo(2018);
    EXPECT_FALSE(inside.game().shpFood(0).Visible());
    EXPECT_EQ(inside.game().Score, 100);
    EXPECT_EQ(inside.game().lblScore.Caption(), "100");
    EXPECT_EQ(inside.platform().beeps(), 1);
}

// The player's corner against shpFood(0)'s corner (2760, 3600), one twip on
// each side of every edge of the reach.
class DotReach : public ::testing::TestWithParam<PlayerAt> {};

TEST_P(DotReach, IsStrictOnEverySide) {
    const PlayerAt c = GetParam();
    Scenario s(startedWithGhostsParked(2000) + placePlayer(2000, c) +
               "2000 set Score 0\n2017 end\n");
    // Read the player's box as the reach test saw it, after any push.
    s.runTo(2018);
    const auto& p = s.game().imgGulpo;
    const bool expected =
        p.Left() + 375 > 2760 && 2760 > p.Left() && p.Top() < 3600 && p.Top() + 375 > 3600;
    EXPECT_EQ(!s.game().shpFood(0).Visible(), expected);
    // No wall pushes the player off the point the case is about.
    ASSERT_EQ(p.Left(), static_cast<float>(c.left));
    ASSERT_EQ(p.Top(), static_cast<float>(c.top));
    EXPECT_EQ(expected, c.eats);
}

INSTANTIATE_TEST_SUITE_P(Dots, DotReach,
                         ::testing::Values(PlayerAt{2386, 3500, true}, PlayerAt{2385, 3500, false},
                                           PlayerAt{2759, 3226, true}, PlayerAt{2759, 3600, false},
                                           PlayerAt{2759, 3599, true}));

TEST(Dots, TwoDotsInOneTickScoreTwiceBeepTwiceAndRefreshTwice) {
    // shpFood(70) at (2760, 4080) and shpFood(30) at (2760, 4440).
    Scenario s(startedWithGhostsParked(2000) + "2000 place imgGulpo 2700 4070\n2017 end\n");
    LabelWatch watch(s.game().frmGulpo, s.game().lblScore);
    s.runTo(2018);
    EXPECT_FALSE(s.game().shpFood(70).Visible());
    EXPECT_FALSE(s.game().shpFood(30).Visible());
    EXPECT_EQ(s.game().Score, 200);
    EXPECT_EQ(s.platform().beeps(), 2);
    EXPECT_EQ(watch.refreshes, 2);
    EXPECT_EQ(s.game().lblScore.Caption(), "200");
    s.game().frmGulpo.setView(nullptr);
}

TEST(Dots, AnEatenDotNeverScoresAgain) {
    Scenario s(startedWithGhostsParked(2000) + "2000 place imgGulpo 2759 3500\n3000 end\n");
    EXPECT_EQ(s.game().Score, 100);
    EXPECT_EQ(s.platform().beeps(), 1);
}

TEST(BigDots, ScoreTwoHundredSilentlyAndLeaveTheLabelBehind) {
    Scenario s(startedWithGhostsParked(2000) +
               "2000 place imgGulpo 590 350\n"
               "2100 place imgGulpo 1400 400\n"
               "2200 end\n");
    const auto ticks = s.lines("tick");
    ASSERT_FALSE(ticks.empty());
    const std::string& first = ticks.front();
    EXPECT_EQ(field(first, "big"), "0111");
    EXPECT_EQ(number(first, "Score"), 200);
    EXPECT_EQ(field(first, "lblScore"), "") << "the big dot does not refresh the label";
    EXPECT_EQ(number(first, "beeps"), 0);
    EXPECT_EQ(field(first, "tmrGhost"), "[true,true,true]");
    EXPECT_NE(field(first, "ghost2").find("imgBlue"), std::string::npos);
    // The next dot, shpFood(20), brings the label up to date.
    EXPECT_EQ(s.game().Score, 300);
    EXPECT_EQ(s.game().lblScore.Caption(), "300");
}

TEST(Score, StopsAt32767) {
    Scenario s(startedWithGhostsParked(2000) +
               "2000 set Score 32700\n"
               "2000 place imgGulpo 2759 3500\n3000 end\n");
    EXPECT_EQ(s.game().Score, 32767);
    EXPECT_EQ(s.game().lblScore.Caption(), "32767");
    Scenario big(startedWithGhostsParked(2000) +
                 "2000 set Score 32600\n"
                 "2000 place imgGulpo 590 350\n3000 end\n");
    EXPECT_EQ(big.game().Score, 32767);
}

}  // namespace
