// A tick's changes reach the screen in one repaint, after the tick: the
// player never sees half a tick (a player moved but not yet pushed back from
// a wall), and the window does not repaint once per change. The game runs
// on its own timers here; its stopwatch build counts the repaints.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "tests/window/gulpo_window_test.h"

namespace window_test {
namespace {

using std::chrono::milliseconds;

class PaintsPerTick : public GulpoWindowTest {
  protected:
    PaintsPerTick() { options.program = GULPO_TICK_PROBE; }
};

TEST_F(PaintsPerTick, AtMostOneRepaintFollowsEachTickWhilePlaying) {
    waitForTheMaze();
    pressIn(mainWindow(), "main window", "Return");
    // Start's pause, then play: the player runs left through the tunnel
    // while the ghosts leave the pen.
    std::this_thread::sleep_for(milliseconds(2300));
    press("Left");
    std::this_thread::sleep_for(milliseconds(3000));
    // The probe reports as it ends.
    ASSERT_TRUE(session().closeAndTimeTheEnd(mainWindow(), milliseconds(5000)).has_value())
        << "the probe did not end when its window was closed; " << state();

    const std::string err = session().errorOutput();
    const auto at = err.find("paint-probe:");
    ASSERT_NE(at, std::string::npos) << "the probe gave no count; " << state();
    long long stretches = 0;
    long long most = 0;
    long long overOne = 0;
    long long paints = 0;
    ASSERT_EQ(std::sscanf(err.c_str() + at,
                          "paint-probe: %lld stretches from tick to tick, at most %lld repaints "
                          "in one, %lld with more than one, %lld repaints in all",
                          &stretches, &most, &overOne, &paints),
              4)
        << err.substr(at);
    // Three seconds of play at 60 ticks a second.
    EXPECT_GT(stretches, 100) << err.substr(at);
    EXPECT_LE(most, 1) << overOne << " stretches from one tick to the next held more than one "
                       << "repaint: " << err.substr(at);
    // The ghosts move every tick, so the window repaints as the game plays.
    EXPECT_GT(paints, stretches / 2) << err.substr(at);
}

}  // namespace
}  // namespace window_test
