// The check of the game's rules that scenarios and the soak rely on: it
// must see every handler and injection, or their passing says nothing.
#include <gtest/gtest.h>

#include "tests/support/invariants.h"
#include "tests/support/scenario.h"
#include "tests/support/script_lines.h"

namespace {

using gulpo_test::Scenario;
using gulpo_test::startedWithGhostsParked;

TEST(RuleCheck, ABrokenRuleIsFoundAfterTheInjectionThatBrokeItWithItsTime) {
    Scenario s("0 click start\n2050 set PlayerDX 7\n2060 set PlayerDX 0\n2100 end\n");
    EXPECT_EQ(s.firstBrokenInvariant(), "player steps 7, 0 at t=2050");
}

TEST(RuleCheck, TheGameIsCheckedAfterEveryHandlerNotOnlyAfterInjections) {
    Scenario s("0 click start\n2100 end\n");
    EXPECT_EQ(s.firstBrokenInvariant(), "");
    // A step no key gives, put there behind the script's back: the next
    // tick's handler is where it shows.
    s.game().PlayerDX = 7;
    s.runTo(2200);
    EXPECT_EQ(s.firstBrokenInvariant(), "player steps 7, 0 at t=2100");
}

TEST(RuleCheck, ParkedGhostsAreExemptFromTheStepRuleButNotFromTheOthers) {
    Scenario parked(startedWithGhostsParked(2000) + "3000 end\n");
    EXPECT_EQ(parked.firstBrokenInvariant(), "");

    Scenario score(startedWithGhostsParked(2000) + "2050 set Score -1\n3000 end\n");
    EXPECT_EQ(score.firstBrokenInvariant(), "score -1 at t=2050");
}

TEST(RuleCheck, AGhostWithStepsOnBothAxesBreaksTheStepRule) {
    Scenario s("0 click start\n2100 end\n");
    s.game().Ghost2DX = 25;
    EXPECT_EQ(gulpo_test::brokenInvariant(s.game()), "ghost 2 steps 25, -25");
    EXPECT_EQ(gulpo_test::brokenInvariant(s.game(), gulpo_test::GhostSteps::setByScript), "");
}

}  // namespace
