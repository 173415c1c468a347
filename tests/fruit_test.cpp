// The bonus fruit: put up at exactly 45 dots, the level's fruit, its contact
// window, and its three states across Start, level completion and game over.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/scenario.h"
#include "tests/support/script_lines.h"
#include "tests/support/trace_fields.h"

namespace {

using gulpo_test::field;
using gulpo_test::hideDots;
using gulpo_test::number;
using gulpo_test::placePlayer;
using gulpo_test::PlayerAt;
using gulpo_test::Scenario;
using gulpo_test::startedWithDotsEaten;

// 45 dots eaten by 2017, none of them near the fruit's contact window but
// shpFood(2), which lies inside it.
std::string fortyFiveEaten() {
    return startedWithDotsEaten(0, 44);
}

std::string fruitOf(Scenario& s) {
    return field(s.lines("tick").back(), "fruit");
}

// The fruit each level puts up: one of its own on levels 1 to 4, a blank
// picture from level 5 on.
struct LevelFruit {
    int level;
    const char* fruit;
};

void PrintTo(const LevelFruit& f, std::ostream* os) {
    *os << "level " << f.level << ": " << f.fruit;
}

class FruitOfTheLevel : public ::testing::TestWithParam<LevelFruit> {};

TEST_P(FruitOfTheLevel, ComesInViewAtFortyFiveDots) {
    Scenario s(fortyFiveEaten() + "2000 set Level " + std::to_string(GetParam().level) +
               "\n2020 end\n");
    EXPECT_EQ(fruitOf(s), std::string("[\"") + GetParam().fruit + "\",true]");
    EXPECT_EQ(number(s.lines("tick").back(), "FruitDotsEaten"), 0);
}

INSTANTIATE_TEST_SUITE_P(BonusFruit, FruitOfTheLevel,
                         ::testing::Values(LevelFruit{1, "imgCherry"},
                                           LevelFruit{2, "imgStrawberry"},
                                           LevelFruit{3, "imgPeach"}, LevelFruit{4, "imgApple"},
                                           LevelFruit{5, "imgBlank"}),
                         [](const ::testing::TestParamInfo<LevelFruit>& p) {
                             return "Level" + std::to_string(p.param.level);
                         });

TEST(BonusFruit, ComesOnlyAtExactlyFortyFiveAndStaysAfter) {
    Scenario at44(startedWithDotsEaten(0, 43) + "2020 end\n");
    EXPECT_EQ(fruitOf(at44), "[\"imgBlank\",true]");

    Scenario on(fortyFiveEaten() + hideDots(2020, 45, 50) + "2100 end\n");
    EXPECT_EQ(fruitOf(on), "[\"imgCherry\",true]") << "a 46th dot leaves the fruit in view";

    // From 44 straight to 46 between two ticks: no fruit on this level.
    Scenario jump(startedWithDotsEaten(0, 43) + hideDots(2020, 44, 45) + "3000 end\n");
    EXPECT_EQ(fruitOf(jump), "[\"imgBlank\",true]");
}

TEST(BonusFruit, IsEatenForFiveHundredOnceInItsContactWindow) {
    Scenario s(fortyFiveEaten() + "2020 place imgGulpo 3120 3600\n2500 end\n");
    const auto ticks = s.lines("tick");
    EXPECT_EQ(field(ticks[0], "fruit"), "[\"imgCherry\",true]");
    EXPECT_EQ(field(ticks[1], "fruit"), "[\"imgBlank\",false]");
    EXPECT_EQ(number(ticks[1], "Score"), 500);
    EXPECT_EQ(field(ticks[1], "lblScore"), "500");
    // Standing on the spot with 45 dots still eaten brings no second fruit.
    EXPECT_EQ(s.game().Score, 500);
    EXPECT_EQ(fruitOf(s), "[\"imgBlank\",false]");
}

TEST(BonusFruit, ThePlayerAlreadyOnTheSpotEatsItTheTickItComes) {
    Scenario s(fortyFiveEaten() + "2000 place imgGulpo 3120 3600\n2020 end\n");
    const std::string tick = s.only("tick");
    EXPECT_EQ(field(tick, "fruit"), "[\"imgBlank\",false]");
    EXPECT_EQ(number(tick, "Score"), 500);
}

// The player's Left and Top against the fruit's contact window, 2865 < Left <
// 3375 and 3345 < Top < 3855, one twip on each side of every edge. Top 3885
// and 3884 at Left 3050 are pushed up 30 by the wall below before the test.
class FruitContactWindow : public ::testing::TestWithParam<PlayerAt> {};

TEST_P(FruitContactWindow, IsStrictOnEverySide) {
    const PlayerAt c = GetParam();
    Scenario s(fortyFiveEaten() + placePlayer(2020, c) + "2040 end\n");
    EXPECT_EQ(s.game().imgFruit.Visible(), !c.eats);
    EXPECT_EQ(s.game().Score >= 500, c.eats);
}

INSTANTIATE_TEST_SUITE_P(BonusFruit, FruitContactWindow,
                         ::testing::Values(PlayerAt{2865, 3600, false}, PlayerAt{2866, 3600, true},
                                           PlayerAt{3375, 3600, false}, PlayerAt{3374, 3600, true},
                                           PlayerAt{3120, 3345, false}, PlayerAt{3120, 3346, true},
                                           PlayerAt{3050, 3885, false},
                                           PlayerAt{3050, 3884, true}));

TEST(BonusFruit, StartClearsAFruitLeftInViewAtTheEndOfALevel) {
    // 45 dots, fruit in view; then all but one eaten and the last one too.
    Scenario s(fortyFiveEaten() + hideDots(2020, 45, 75) + "2020 food 0 1\n" +
               "2020 place imgGulpo 2759 3500\n3000 end\n");
    EXPECT_EQ(s.game().Level, 2);
    EXPECT_EQ(s.game().imgFruit.picture(), s.game().imgCherry.picture())
        << "still in view while the game waits for Start";
    s.game().frmGulpo.click(s.game().cmdStart);
    EXPECT_EQ(s.game().imgFruit.picture(), s.game().imgBlank.picture());
    EXPECT_TRUE(s.game().imgFruit.Visible());
}

TEST(BonusFruit, AnEatenFruitStaysEatenThroughGameOverIntoTheNextGame) {
    Scenario s(fortyFiveEaten() +
               "2020 place imgGulpo 3120 3600\n"
               "2100 set Lives 1\n2100 place imgGhost1 840 2850\n"
               "2100 place imgGulpo 840 2850\n"
               "6000 click start\n" +
               hideDots(8100, 0, 44) + "8200 end\n");
    EXPECT_EQ(s.lines("start").size(), 2u);
    EXPECT_FALSE(s.game().imgFruit.Visible());
    EXPECT_EQ(s.game().imgFruit.picture(), s.game().imgBlank.picture())
        << "level 1 of the next game has no cherry";
}

TEST(BonusFruit, LevelCompletionMakesAnEatenFruitAvailableAgain) {
    Scenario s(fortyFiveEaten() + "2020 place imgGulpo 3120 3600\n" + hideDots(2100, 45, 75) +
               "2100 food 0 1\n2100 place imgGulpo 2759 3500\n3000 click start\n" +
               hideDots(5100, 0, 44) + "5200 end\n");
    EXPECT_EQ(s.game().Level, 2);
    EXPECT_EQ(s.game().imgFruit.picture(), s.game().imgStrawberry.picture());
}

}  // namespace
