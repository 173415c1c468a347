// What the window shows is the game: the real window, as the X server holds
// it after the game's own incremental repaints, against a fresh rendering of
// the same state, pixel for pixel. Sprites that move or jump, dots eaten,
// ghosts turning blue and back, labels rewritten and the window resized must
// leave nothing of what was there before, at every scale.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <sstream>
#include <string>

#include "sessions/dice.h"
#include "tests/support/trace_fields.h"
#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

// The main window's client area at its design size, 15 twips a pixel.
constexpr WindowSize kDesignSize{467, 520};

// A sprite's place as the state gives it: "gulpo":[840,2880,"own"].
struct Spot {
    float left = 0;
    float top = 0;
};

Spot spotOf(const std::string& state, const std::string& sprite) {
    Spot s;
    std::sscanf(gulpo_test::field(state, sprite).c_str(), "[%f,%f", &s.left, &s.top);
    return s;
}

long long dotsEaten(const std::string& state) {
    return gulpo_test::occurrences(gulpo_test::field(state, "food"), "0");
}

bool startShown(const std::string& state) {
    return gulpo_test::field(state, "cmdStart") == "true";
}

bool anyGhostBlue(const std::string& state) {
    return gulpo_test::field(state, "tmrGhost").find("true") != std::string::npos;
}

// The window at a percentage of its design size.
class Repaint : public RealProgramTest, public ::testing::WithParamInterface<int> {
  protected:
    Repaint() {
        stepped = true;
        options.mainWindowSize = {kDesignSize.width * GetParam() / 100,
                                  kDesignSize.height * GetParam() / 100};
    }

    std::string ask(const std::string& command) {
        std::string r = clock().ask(command);
        EXPECT_EQ(r.substr(0, 2), "ok") << command << ": " << r;
        return r;
    }

    // An input at the game's time now: "key 37", "place imgGulpo 500 300".
    void input(const std::string& verbAndArguments) {
        const std::string r = clock().input(verbAndArguments);
        EXPECT_EQ(r.substr(0, 2), "ok") << verbAndArguments << ": " << r;
    }

    // Start, then the two seconds before the first tick.
    void start() {
        input("key 13");
        ASSERT_FALSE(startShown(state())) << "Start did not start the game";
        ask("advance 2000");
    }

    // One tick of the game (the tick timer fires 60 times a second).
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            ask("advance 17");
        }
    }

    // Once the screen has gone wrong, later pictures only repeat it.
    void expectSameAsFresh(const std::string& label) {
        if (HasFailure()) {
            return;
        }
        const FrameComparison c = clock().compare(label);
        EXPECT_EQ(c.differing, 0) << "after " << label << " the screen is not what a fresh "
                                  << "rendering shows: " << c.detail;
    }

    std::string state() { return clock().state(); }
};

TEST_P(Repaint, ThePlayerLeavesNothingBehindInAnyDirection) {
    start();
    // A crossing in the tunnel row: open to all four sides.
    input("place imgGulpo 1380 2880");
    expectSameAsFresh("placed");
    const struct {
        int key;
        const char* name;
        float dx;
        float dy;
    } steps[] = {{37, "left", -1, 0}, {38, "up", 0, -1}, {39, "right", 1, 0}, {40, "down", 0, 1}};
    for (const auto& step : steps) {
        input("key " + std::to_string(step.key));
        expectSameAsFresh(std::string("turned_") + step.name);
        const Spot before = spotOf(state(), "gulpo");
        for (int i = 0; i < 3; ++i) {
            tick();
            expectSameAsFresh(std::string("step_") + step.name);
        }
        const Spot after = spotOf(state(), "gulpo");
        EXPECT_GT((after.left - before.left) * step.dx + (after.top - before.top) * step.dy, 0)
            << "the player did not move " << step.name << ": " << state();
    }
}

TEST_P(Repaint, GhostsLeaveNothingBehindAsTheyStep) {
    start();
    const std::string before = state();
    for (int i = 0; i < 40; ++i) {
        tick();
        if (i < 5 || i % 5 == 0) {
            expectSameAsFresh("ghost_step");
        }
    }
    EXPECT_NE(spotOf(state(), "ghost1").top, spotOf(before, "ghost1").top);
}

TEST_P(Repaint, GhostsTurnBlueAndBackInPlace) {
    start();
    // The big dot at the top left is eaten on the next tick.
    input("place imgGulpo 500 300");
    tick();
    ASSERT_TRUE(anyGhostBlue(state())) << state();
    expectSameAsFresh("big_dot_eaten");
    tick(3);
    expectSameAsFresh("blue_ghosts_step");
    ask("advance 10000");
    EXPECT_FALSE(anyGhostBlue(state())) << state();
    expectSameAsFresh("ghosts_normal_again");
}

TEST_P(Repaint, EatenDotsAndTheScoreShowAtOnce) {
    start();
    input("key 39");
    for (int i = 0; i < 40 && dotsEaten(state()) == 0; ++i) {
        tick();
    }
    ASSERT_EQ(dotsEaten(state()), 1) << state();
    expectSameAsFresh("dot_eaten");
    tick();
    expectSameAsFresh("after_dot");
}

TEST_P(Repaint, ALostLifeShowsTheCollisionThenEveryoneJumpsBack) {
    start();
    tick();
    const Spot player = spotOf(state(), "gulpo");
    input("place imgGhost1 " + std::to_string(static_cast<int>(player.left) + 60) + " " +
          std::to_string(static_cast<int>(player.top)));
    // The tick that costs the life stands still for two seconds: look then.
    tick();
    EXPECT_EQ(gulpo_test::number(state(), "Lives"), 3) << "the pause came after the life went";
    expectSameAsFresh("lost_life_freeze");
    // A key in the pause is taken between its sleeps and shows at once.
    input("key 38");
    ask("advance 100");
    EXPECT_NE(gulpo_test::field(state(), "gulpo").find("imgGulpoUp"), std::string::npos)
        << "the key was not taken in the pause: " << state();
    expectSameAsFresh("turned_in_the_pause");
    ask("advance 1900");
    EXPECT_EQ(gulpo_test::number(state(), "Lives"), 2) << state();
    expectSameAsFresh("back_on_the_spots");
    tick(2);
    expectSameAsFresh("playing_on");
}

TEST_P(Repaint, AnEatenGhostJumpsToThePenWithoutATrace) {
    start();
    input("place imgGulpo 500 300");
    tick();
    const Spot player = spotOf(state(), "gulpo");
    input("place imgGhost2 " + std::to_string(static_cast<int>(player.left)) + " " +
          std::to_string(static_cast<int>(player.top)));
    expectSameAsFresh("ghost_placed_on_player");
    tick();
    EXPECT_GE(gulpo_test::number(state(), "Score"), 1200) << state();
    expectSameAsFresh("ghost_eaten");
}

TEST_P(Repaint, ACompletedLevelShowsTheRefilledMazeAndTheNextLevel) {
    start();
    // Every dot but shpFood(48), on the tunnel row to the player's right.
    for (int i = 0; i < 76; ++i) {
        if (i != 48) {
            input("food " + std::to_string(i) + " 0");
        }
    }
    expectSameAsFresh("dots_hidden");
    input("key 39");
    for (int i = 0; i < 40 && gulpo_test::number(state(), "Level") == 1; ++i) {
        tick();
    }
    ASSERT_EQ(gulpo_test::number(state(), "Level"), 2) << state();
    EXPECT_TRUE(startShown(state())) << state();
    expectSameAsFresh("level_complete");
    input("key 13");
    expectSameAsFresh("level_two_started");
    ask("advance 2000");
    tick(3);
    expectSameAsFresh("level_two_playing");
}

TEST_P(Repaint, AWindowResizedDuringPlayShowsTheGameAfresh) {
    start();
    input("key 37");
    tick(5);
    const auto size = clock().size();
    ASSERT_TRUE(size.has_value());
    // Wider than tall: the scene is centred on black.
    ASSERT_TRUE(clock().resize({size->width * 11 / 10, size->height * 9 / 10}));
    expectSameAsFresh("resized");
    tick(5);
    expectSameAsFresh("resized_playing");
    ASSERT_TRUE(clock().resize(*size));
    tick();
    expectSameAsFresh("resized_back");
}

// The keys' dice are seeded, so that a failing run can be repeated.
TEST_P(Repaint, ALongRandomRunLeavesNothingBehind) {
    Dice keys(static_cast<std::uint64_t>(GetParam()));
    start();
    for (int t = 1; t <= 600; ++t) {
        if (keys.roll(8) == 0) {
            input("key " + std::to_string(37 + keys.roll(4)));
        }
        tick();
        if (startShown(state())) {
            input("key 13");  // a game over or a level done: play on
        }
        if (t % 40 == 0) {
            expectSameAsFresh("random_tick_" + std::to_string(t));
        }
    }
}

// 100%, 150%, 200% and 300% of the design size.
INSTANTIATE_TEST_SUITE_P(AtScale, Repaint, ::testing::Values(100, 150, 200, 300),
                         [](const ::testing::TestParamInfo<int>& p) {
                             return std::to_string(p.param) + "percent";
                         });

}  // namespace
}  // namespace window_test
