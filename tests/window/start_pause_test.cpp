// Closing the real program's window in the two seconds between Start and
// play, while Start's wait goes on handling window events.

#include <chrono>
#include <thread>

#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

using StartPause = RealProgramTest;

TEST_F(StartPause, ClosingTheWindowHalfASecondAfterStartEndsTheProgramWithinHalfASecond) {
    waitForTheMaze();
    const StartButtonArea startButton(program().mapping());

    pressIn(mainWindow(), "main window", "alt+s");
    const auto pressed = Clock::now();
    const Screenshot after = program().captureWhen(
        mainWindow(), [&](const Screenshot& s) { return startButton.gone(s); }, milliseconds(450));
    keep(after, "after_start");
    ASSERT_TRUE(startButton.gone(after))
        << "the Start button still shows after Alt+S, so Start was "
        << "not chosen and there is no pause to close in; " << state();

    // Well inside the two seconds between Start and play.
    std::this_thread::sleep_until(pressed + milliseconds(500));
    const auto took = expectCloseEndsTheProgram(
        mainWindow(), "window, during the pause after Start,", milliseconds(5000));
    ASSERT_TRUE(took.has_value());
    note("close_to_exit_ms", static_cast<long>(took->count()));
    note("start_to_exit_ms",
         static_cast<long>(
             std::chrono::duration_cast<milliseconds>(Clock::now() - pressed).count()));
    EXPECT_LT(took->count(), 500) << "gulpo took " << took->count() << " ms to end after its "
                                  << "window was asked to close during the pause after Start";
}

}  // namespace
}  // namespace window_test
