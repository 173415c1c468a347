// A tick's changes reach the screen in one repaint, after the tick: the
// player never sees half a tick (a player moved but not yet pushed back from
// a wall), and the window does not repaint once per change. The game runs
// on its own clock here; its timings file counts the repaints.
#include <chrono>
#include <string>
#include <thread>

#include "app/desktop/timings_figures.h"
#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

using std::chrono::milliseconds;

class PaintsPerTick : public RealProgramTest {
  protected:
    PaintsPerTick() { options.arguments = {"--timings", timings}; }
    const std::string timings = artifact("timings");
};

TEST_F(PaintsPerTick, AtMostOneRepaintFollowsEachTickWhilePlaying) {
    waitForTheMaze();
    pressIn(mainWindow(), "main window", "Return");
    // Start's pause, then play: the player runs left through the tunnel
    // while the ghosts leave the pen.
    std::this_thread::sleep_for(milliseconds(2300));
    press("Left");
    std::this_thread::sleep_for(milliseconds(3000));
    ASSERT_TRUE(program().closeAndTimeTheEnd(mainWindow(), milliseconds(5000)).has_value())
        << "the program did not end when its window was closed; " << state();

    const desktop::PaintsPerTick p = desktop::paintsPerTick(desktop::readTimings(timings));
    const std::string counts = std::to_string(p.stretches) + " stretches from tick to tick, " +
                               std::to_string(p.paints) + " repaints in all";
    // Three seconds of play at 60 ticks a second.
    EXPECT_GT(p.stretches, 100) << counts;
    EXPECT_LE(p.most, 1) << p.overOne << " stretches from one tick to the next held more than one "
                         << "repaint; " << counts;
    // The ghosts move every tick, so the window repaints as the game plays.
    EXPECT_GT(p.paints, p.stretches / 2) << counts;
}

}  // namespace
}  // namespace window_test
