// A whole game through the replay tool: a level completed, then three lives
// lost, with the trace checked at each milestone.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/scenario.h"
#include "tests/support/script_lines.h"
#include "tests/support/trace_fields.h"

namespace {

using gulpo_test::field;
using gulpo_test::hideDots;
using gulpo_test::number;
using gulpo_test::Scenario;

TEST(FullGame, ALevelCompletedThenThreeLivesLostEndsTheGame) {
    std::string script = "0 click start\n2100 key 39\n";
    // Level 1: the player eats its way along; the rest of the dots go.
    script += hideDots(3000, 1, 75) + "3000 place imgGulpo 2759 3500\n";
    // Level 2.
    script += "4000 alt S\n";
    for (long long t : {6500, 9500, 12500}) {
        script += std::to_string(t) + " place imgGhost1 840 2850\n";
    }
    script += "16000 end\n";
    Scenario s(script);

    // The level is complete on the tick that eats the last dot.
    bool completed = false;
    for (const auto& t : s.lines("tick")) {
        if (number(t, "Level") == 2 && !completed) {
            completed = true;
            EXPECT_EQ(number(t, "tmrMain"), 0);
            EXPECT_EQ(field(t, "food"), std::string(76, '1'));
            EXPECT_EQ(field(t, "lblLevel"), "2");
        }
    }
    EXPECT_TRUE(completed);

    const auto starts = s.lines("start");
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(field(starts[1], "lblLevel"), "2");
    EXPECT_EQ(number(starts[1], "Score"), 0);

    // Three freezes after the second Start, one per life.
    int freezes = 0;
    for (const auto& w : s.lines("wait")) {
        freezes += number(w, "t") > 6000 ? 1 : 0;
    }
    EXPECT_EQ(freezes, 3);

    const auto last = s.lines().back();
    EXPECT_EQ(number(last, "tmrMain"), 0);
    EXPECT_EQ(number(last, "Level"), 1);
    EXPECT_EQ(number(last, "Lives"), 3);
    EXPECT_EQ(field(last, "lblLives"), "0");
    EXPECT_EQ(field(last, "lblLevel"), "1");
    EXPECT_EQ(field(last, "cmdStart"), "true");
    EXPECT_EQ(s.firstBrokenInvariant(), "");
}

}  // namespace
