// The real program under a storm of bad input: random keys, clicks on
// buttons that are hidden, the About window opened and closed, and the main
// window closed at a random moment. It must neither crash nor hang, and end
// cleanly with status 0.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "sessions/dice.h"
#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

using namespace std::chrono;

// xdotool's arguments for 10 to 39 random keys, a millisecond apart.
std::vector<std::string> storm(Dice& d) {
    const char* keys[] = {"Left", "Right",  "Up",        "Down",      "Return",   "space",
                          "Tab",  "Escape", "alt+s",     "alt+a",     "alt+c",    "a",
                          "F4",   "ctrl+q", "BackSpace", "shift+Tab", "alt+Left", "Home"};
    std::vector<std::string> args{"key", "--delay", "1"};
    for (int i = 0, n = 10 + d.roll(30); i < n; ++i) {
        args.emplace_back(keys[d.roll(static_cast<int>(std::size(keys)))]);
    }
    return args;
}

// A failing storm can be run again by its seed.
class InputStorm : public RealProgramTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(InputStorm, NeitherCrashesNorHangsAndEndsCleanly) {
    const unsigned seed = GetParam();
    Dice d(seed);
    const XWindowId main = mainWindow();

    const auto stormEnds = steady_clock::now() + milliseconds(3000 + d.roll(3000));
    while (steady_clock::now() < stormEnds) {
        ASSERT_TRUE(program().running())
            << "gulpo ended in the storm, seed " << seed << "; " << program().state();
        switch (d.roll(5)) {
            case 0:
            case 1:
                program().x().focus(main, Millis(500));
                program().xdotool(storm(d));
                break;
            case 2: {
                // Clicks where the buttons stand, shown or hidden.
                const int bx = d.roll(2) == 0 ? 212 : 284;
                program().xdotool({"mousemove", std::to_string(bx), "460", "click", "1"});
                break;
            }
            case 3:
                for (auto about : program().x().topLevelsNamed("About Gulpo")) {
                    if (d.roll(2) == 0) {
                        program().x().askToClose(about);
                    }
                }
                break;
            default:
                std::this_thread::sleep_for(milliseconds(d.roll(400)));
                break;
        }
    }
    const auto took = program().closeAndTimeTheEnd(main, Millis(3000));
    ASSERT_TRUE(took.has_value()) << "gulpo hangs after its window was closed, seed " << seed
                                  << "; " << program().state();
    const ExitStatus ended = *program().exitStatus();
    EXPECT_TRUE(ended.exited && ended.code == 0) << ended.describe() << ", seed " << seed;
    EXPECT_LT(took->count(), 1000);
    for (const std::string& line : program().unexpectedErrorLines()) {
        ADD_FAILURE() << "unexpected error output: " << line << ", seed " << seed;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, InputStorm, ::testing::Values(1u, 2u, 3u));

}  // namespace
}  // namespace window_test
