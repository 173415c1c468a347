// Steering with the arrow keys, and which keys reach the game while the
// buttons are shown.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/scenario.h"
#include "tests/support/trace_fields.h"

namespace {

using gulpo_test::field;
using gulpo_test::number;
using gulpo_test::Scenario;

TEST(ArrowKeys, SetTheStepAndTurnThePlayerAtOnce) {
    Scenario s(
        "0 click start\n"
        "2018 key 38\n"
        "2040 key 37\n"
        "2060 end\n");
    const auto keys = s.lines("key");
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(number(keys[0], "PlayerDY"), -30);
    EXPECT_EQ(number(keys[0], "PlayerDX"), 0);
    EXPECT_EQ(field(keys[0], "gulpo"), "[840,2850,\"imgGulpoUp\"]");
    // Left while moving up: the vertical step stops and the picture turns
    // before the sprite moves.
    EXPECT_EQ(number(keys[1], "PlayerDX"), -30);
    EXPECT_EQ(number(keys[1], "PlayerDY"), 0);
    EXPECT_EQ(field(keys[1], "gulpo"), "[840,2820,\"imgGulpoLeft\"]");
    EXPECT_EQ(s.game().imgGulpo.Left(), 810);
    EXPECT_EQ(s.game().imgGulpo.Top(), 2820);
}

// An arrow's key code, the step it gives and the picture it turns the
// player to.
struct Arrow {
    int code;
    int dx;
    int dy;
    const char* picture;
};

void PrintTo(const Arrow& a, std::ostream* os) {
    *os << "key " << a.code << ": " << a.picture;
}

class EachArrow : public ::testing::TestWithParam<Arrow> {};

TEST_P(EachArrow, HasItsStepAndPicture) {
    const Arrow c = GetParam();
    Scenario s("0 click start\n2100 key " + std::to_string(c.code) + "\n2100 end\n");
    const auto keys = s.lines("key");
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(number(keys[0], "PlayerDX"), c.dx);
    EXPECT_EQ(number(keys[0], "PlayerDY"), c.dy);
    EXPECT_NE(field(keys[0], "gulpo").find(c.picture), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(ArrowKeys, EachArrow,
                         ::testing::Values(Arrow{37, -30, 0, "imgGulpoLeft"},
                                           Arrow{38, 0, -30, "imgGulpoUp"},
                                           Arrow{39, 30, 0, "imgGulpoRight"},
                                           Arrow{40, 0, 30, "imgGulpoDown"}),
                         [](const ::testing::TestParamInfo<Arrow>& p) {
                             return std::string(p.param.picture).substr(8);
                         });

TEST(ArrowKeys, OtherKeysChangeNothing) {
    Scenario s(
        "0 click start\n"
        "2018 key 39\n"
        "2020 key 65\n2020 key 13\n2020 key 32\n2020 key 27\n2020 key 0\n2020 key 255\n"
        "2030 end\n");
    const auto keys = s.lines("key");
    ASSERT_EQ(keys.size(), 7u) << "with no button shown every key reaches the window";
    for (std::size_t i = 1; i < keys.size(); ++i) {
        EXPECT_EQ(number(keys[i], "PlayerDX"), 30) << keys[i];
        EXPECT_EQ(number(keys[i], "PlayerDY"), 0);
        EXPECT_EQ(field(keys[i], "gulpo"), field(keys[0], "gulpo"));
    }
}

TEST(ArrowKeys, AutoRepeatActsLikeOnePress) {
    Scenario once("0 click start\n2018 key 40\n2200 end\n");
    Scenario held("0 click start\n2018 key 40\n2018 key 40\n2018 key 40\n2200 end\n");
    EXPECT_EQ(once.game().imgGulpo.Top(), held.game().imgGulpo.Top());
    EXPECT_EQ(once.game().PlayerDY, held.game().PlayerDY);
}

TEST(ArrowKeys, ThePlayerStandsStillUntilTheFirstArrow) {
    Scenario s("0 click start\n3000 end\n");
    EXPECT_EQ(s.game().imgGulpo.Left(), 840);
    EXPECT_EQ(s.game().imgGulpo.Top(), 2850);
    EXPECT_LT(s.game().imgGhost2.Top(), 2880) << "the ghosts move meanwhile";
}

TEST(Focus, AKeyWhileStartHoldsTheFocusIsNotDeliveredToTheGame) {
    Scenario s("100 key 37\n100 key 40\n200 end\n");
    EXPECT_TRUE(s.lines("key").empty());
    EXPECT_EQ(s.game().PlayerDX, 0);
    EXPECT_EQ(s.game().PlayerDY, 0);
}

TEST(Focus, EnterAndSpacePressTheButtonThatHoldsTheFocus) {
    Scenario enter("100 key 13\n2200 end\n");
    EXPECT_EQ(enter.lines("start").size(), 1u);
    Scenario space("100 key 32\n2200 end\n");
    EXPECT_EQ(space.lines("start").size(), 1u);
}

TEST(Focus, TabMovesTheFocusToAboutAndEnterPressesIt) {
    Scenario s("100 key 9\n200 key 13\n300 end\n");
    EXPECT_TRUE(s.lines("start").empty());
    EXPECT_EQ(s.lines("about").size(), 1u);
    EXPECT_EQ(s.game().frmGulpo.focused(), &s.game().cmdAbout);
}

TEST(Focus, StartHidingItsButtonsLeavesNoFocusSoKeysReachTheGame) {
    Scenario s("100 alt S\n500 key 39\n600 end\n");
    EXPECT_EQ(s.lines("start").size(), 0u) << "still in its pause";
    EXPECT_EQ(s.game().frmGulpo.focused(), nullptr);
    ASSERT_EQ(s.lines("key").size(), 1u);
    EXPECT_EQ(s.game().PlayerDX, 30);
}

TEST(Focus, AClickOnAHiddenButtonIsDropped) {
    Scenario s("0 click start\n500 click start\n600 click about\n2500 end\n");
    EXPECT_EQ(s.lines("start").size(), 1u);
    EXPECT_TRUE(s.lines("about").empty());
    EXPECT_EQ(s.lines("wait").size(), 1u);
}

}  // namespace
