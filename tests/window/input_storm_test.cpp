// The real program under a storm of bad input: random keys, clicks on
// buttons that are hidden, the About window opened and closed, and the main
// window closed at a random moment. It must neither crash nor hang, and end
// cleanly with status 0.
#include <gtest/gtest.h>

#include <unistd.h>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tests/window/x_session.h"

namespace {

using namespace std::chrono;
using window_test::ChildProcess;
using window_test::Millis;
using window_test::VirtualScreen;
using window_test::XClient;

// The test's own dice, so a failing storm can be run again by its seed.
class Dice {
  public:
    explicit Dice(unsigned seed) : x_(seed * 2654435761u + 7u) {}
    unsigned roll(unsigned n) {
        x_ ^= x_ << 13;
        x_ ^= x_ >> 17;
        x_ ^= x_ << 5;
        return x_ % n;
    }

  private:
    unsigned x_;
};

std::string storm(Dice& d) {
    const char* keys[] = {"Left", "Right",  "Up",        "Down",      "Return",   "space",
                          "Tab",  "Escape", "alt+s",     "alt+a",     "alt+c",    "a",
                          "F4",   "ctrl+q", "BackSpace", "shift+Tab", "alt+Left", "Home"};
    std::string out;
    for (unsigned i = 0, n = 10 + d.roll(30); i < n; ++i) {
        out += std::string(out.empty() ? "" : " ") + keys[d.roll(std::size(keys))];
    }
    return out;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class InputStorm : public ::testing::TestWithParam<unsigned> {};

TEST_P(InputStorm, NeitherCrashesNorHangsAndEndsCleanly) {
    if (std::string(GULPO_XVFB).empty()) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    const unsigned seed = GetParam();
    Dice d(seed);
    const std::string dir =
        std::string(GULPO_ARTIFACT_DIR) + "/window_storm_" + std::to_string(seed);
    std::system(("mkdir -p '" + dir + "'").c_str());
    VirtualScreen screen(GULPO_XVFB, dir + "/xvfb.log");
    XClient x(screen.display());
    ChildProcess app({GULPO_PROGRAM}, {"DISPLAY=" + screen.display()}, dir + "/out.log", -1,
                     dir + "/err.log");
    const auto main = x.findTopLevel("Gulpo", Millis(10000));
    ASSERT_NE(main, 0u) << "seed " << seed;

    const auto stormEnds = steady_clock::now() + milliseconds(3000 + d.roll(3000));
    while (steady_clock::now() < stormEnds) {
        ASSERT_FALSE(app.waitFor(Millis(0)).has_value())
            << "gulpo ended in the storm, seed " << seed;
        switch (d.roll(5)) {
            case 0:
            case 1:
                x.focus(main, Millis(500));
                window_test::runToCompletion({GULPO_XDOTOOL, "key", "--delay", "1", storm(d)},
                                             screen.display(), Millis(5000));
                break;
            case 2: {
                // Clicks where the buttons stand, shown or hidden.
                const int bx = d.roll(2) == 0 ? 212 : 284;
                window_test::runToCompletion(
                    {GULPO_XDOTOOL, "mousemove", std::to_string(bx), "460", "click", "1"},
                    screen.display(), Millis(5000));
                break;
            }
            case 3:
                for (auto about : x.topLevelsNamed("About Gulpo")) {
                    if (d.roll(2) == 0) {
                        x.askToClose(about);
                    }
                }
                break;
            default:
                std::this_thread::sleep_for(milliseconds(d.roll(400)));
                break;
        }
    }
    const auto asked = steady_clock::now();
    x.askToClose(main);
    const auto ended = app.waitFor(Millis(3000));
    ASSERT_TRUE(ended.has_value()) << "gulpo hangs after its window was closed, seed " << seed;
    EXPECT_TRUE(ended->exited && ended->code == 0) << ended->describe() << ", seed " << seed;
    EXPECT_LT(duration_cast<milliseconds>(steady_clock::now() - asked).count(), 1000);
    std::istringstream err(readFile(dir + "/err.log"));
    for (std::string line; std::getline(err, line);) {
        EXPECT_TRUE(line.empty() || line.rfind("QStandardPaths: XDG_RUNTIME_DIR", 0) == 0)
            << "unexpected error output: " << line << ", seed " << seed;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, InputStorm, ::testing::Values(1u, 2u, 3u));

}  // namespace
