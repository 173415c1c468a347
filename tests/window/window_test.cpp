// The real desktop program in a real X window on a private Xvfb server: what
// it shows at load, how it ends when its window is closed, and how Start and
// the arrow keys reach the game.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iomanip>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "artifact.h"
#include "platform/colour.h"
#include "platform/form.h"
#include "playfield/layout.h"
#include "playfield/playfield.h"
#include "x_session.h"

namespace window_test {
namespace {

using Clock = std::chrono::steady_clock;

// The window paints 15 twips to the pixel at its design size.
constexpr int kTwipsPerPixel = 15;
constexpr std::uint32_t kPureBlue = 0x0000FF;    // as 0x00RRGGBB
constexpr std::uint32_t kPureYellow = 0xFFFF00;  // the player's body

// Rows of the side tunnel the player walks along from its start spot.
constexpr int kTunnelTop = 188;
constexpr int kTunnelBottom = 220;  // inclusive

std::uint32_t rgbOf(platform::Colour c) {
    return (platform::redOf(c) << 16) | (platform::greenOf(c) << 8) | platform::blueOf(c);
}

// The model's colour at the centre of pixel (px, py).
platform::Colour modelAt(const platform::Form& form, int px, int py) {
    return form.Point((static_cast<float>(px) + 0.5f) * kTwipsPerPixel,
                      (static_cast<float>(py) + 0.5f) * kTwipsPerPixel);
}

std::string hex(std::uint32_t v) {
    std::ostringstream s;
    s << "#" << std::hex << std::setw(6) << std::setfill('0') << v;
    return s.str();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A box of the scene in whole pixels, right and bottom exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    long area() const { return static_cast<long>(right - left) * (bottom - top); }
};

PixelRect pixelsOf(const platform::Box& b, int margin = 0) {
    return {b.left / kTwipsPerPixel - margin, b.top / kTwipsPerPixel - margin,
            (b.left + b.width + kTwipsPerPixel - 1) / kTwipsPerPixel + margin,
            (b.top + b.height + kTwipsPerPixel - 1) / kTwipsPerPixel + margin};
}

// Where the window shows pure blue and where the model has walls.
struct WallComparison {
    long modelWalls = 0;
    long shownBlue = 0;
    long mismatches = 0;
    std::vector<std::string> firstMismatches;
};

WallComparison compareWalls(const Screenshot& shot, const platform::Form& model) {
    WallComparison c;
    for (int py = 0; py < shot.height; ++py) {
        for (int px = 0; px < shot.width; ++px) {
            const bool wall = modelAt(model, px, py) == playfield::WallColour;
            const bool blue = shot.at(px, py) == kPureBlue;
            c.modelWalls += wall ? 1 : 0;
            c.shownBlue += blue ? 1 : 0;
            if (wall != blue) {
                ++c.mismatches;
                if (c.firstMismatches.size() < 10) {
                    std::ostringstream s;
                    s << "(" << px << "," << py << ") shows " << hex(shot.at(px, py))
                      << ", model has " << (wall ? "a wall" : "no wall") << " ("
                      << hex(rgbOf(modelAt(model, px, py))) << ")";
                    c.firstMismatches.push_back(s.str());
                }
            }
        }
    }
    return c;
}

// How many pixels of `area` differ from what `model` has there.
long differingPixels(const Screenshot& shot, const platform::Form& model, const PixelRect& area) {
    long n = 0;
    for (int py = area.top; py < area.bottom; ++py) {
        for (int px = area.left; px < area.right; ++px) {
            n += shot.at(px, py) != rgbOf(modelAt(model, px, py)) ? 1 : 0;
        }
    }
    return n;
}

// The pure yellow pixels in the tunnel rows that no dot can account for.
struct YellowBlob {
    long count = 0;
    int minX = 0;
    int maxX = 0;
    int minY = 0;
    int maxY = 0;
    double centreX = 0;
    double centreY = 0;

    std::string describe() const {
        std::ostringstream s;
        if (count == 0) {
            return "no player pixels";
        }
        s << count << " player pixels in x " << minX << ".." << maxX << ", y " << minY << ".."
          << maxY << ", centre (" << std::fixed << std::setprecision(1) << centreX << "," << centreY
          << ")";
        return s.str();
    }
};

// Pixels a dot may cover: the dots' boxes, widened for the painter's soft
// edges. (The model's colour cannot tell a dot from the player: both are
// drawn in the dot colour.)
std::vector<bool> dotMask(const playfield::Playfield& model, int width, int height) {
    std::vector<bool> mask(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    auto cover = [&](const platform::Box& box) {
        const PixelRect r = pixelsOf(box, 2);
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, height); ++y) {
            for (int x = std::max(r.left, 0); x < std::min(r.right, width); ++x) {
                mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)] = true;
            }
        }
    };
    for (int i = 0; i < model.shpFood.size(); ++i) {
        cover(model.shpFood(i).box());
    }
    for (int i = 0; i < model.shpBig.size(); ++i) {
        cover(model.shpBig(i).box());
    }
    return mask;
}

YellowBlob playerInTunnel(const Screenshot& shot, const std::vector<bool>& dots) {
    YellowBlob b;
    double sumX = 0;
    double sumY = 0;
    for (int y = kTunnelTop; y <= std::min(kTunnelBottom, shot.height - 1); ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const std::size_t i =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(shot.width) +
                static_cast<std::size_t>(x);
            if (dots[i] || shot.pixels[i] != kPureYellow) {
                continue;
            }
            if (b.count == 0) {
                b.minX = b.maxX = x;
                b.minY = b.maxY = y;
            }
            b.minX = std::min(b.minX, x);
            b.maxX = std::max(b.maxX, x);
            b.minY = std::min(b.minY, y);
            b.maxY = std::max(b.maxY, y);
            sumX += x;
            sumY += y;
            ++b.count;
        }
    }
    if (b.count > 0) {
        b.centreX = sumX / static_cast<double>(b.count);
        b.centreY = sumY / static_cast<double>(b.count);
    }
    return b;
}

// Each test has its own X server and its own copy of the program, showing its
// main window.
class GulpoWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::string(GULPO_XVFB).empty()) {
            GTEST_SKIP() << "Xvfb is not installed here, so no real window can be shown";
        }
        name_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        try {
            screen_.emplace(GULPO_XVFB, artifactPath("window_" + name_ + ".xvfb.log"));
            programLog_ = artifactPath("window_" + name_ + ".gulpo.log");
            program_.emplace(
                std::vector<std::string>{GULPO_PROGRAM},
                std::vector<std::string>{"DISPLAY=" + screen_->display(), "QT_QPA_PLATFORM=xcb"},
                programLog_);
            client_.emplace(screen_->display());
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        window_ = client_->findTopLevel("Gulpo", std::chrono::milliseconds(10000));
        ASSERT_NE(window_, 0u) << "no mapped top-level window named \"Gulpo\" within 10 s; "
                               << programState();
    }

    void TearDown() override {
        client_.reset();
        if (program_) {
            program_->stop();
            program_.reset();
        }
        screen_.reset();
    }

    // Whether the program still runs, and what it has printed.
    std::string programState() {
        std::ostringstream s;
        if (program_) {
            if (auto status = program_->waitFor(std::chrono::milliseconds(0))) {
                s << "gulpo " << status->describe();
            } else {
                s << "gulpo is still running";
            }
        }
        const std::string log = readFile(programLog_);
        if (!log.empty()) {
            s << "; its output:\n" << log;
        }
        return s.str();
    }

    // Captures until `ready` holds for the picture or `timeout` has passed;
    // the last picture either way.
    template <typename Ready>
    Screenshot captureWhen(Ready ready, std::chrono::milliseconds timeout) {
        const auto deadline = Clock::now() + timeout;
        for (;;) {
            Screenshot shot = client_->capture(window_);
            if ((!shot.empty() && ready(shot)) || Clock::now() >= deadline) {
                return shot;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    void keep(const Screenshot& shot, const std::string& what) {
        const std::string path = artifactPath("window_" + name_ + "_" + what + ".png");
        EXPECT_TRUE(savePng(shot, path)) << "could not write " << path;
    }

    // Presses keys the way a keyboard does (through XTEST, into the window
    // that has the input focus).
    void press(const std::string& keys) {
        ASSERT_FALSE(std::string(GULPO_XDOTOOL).empty()) << "xdotool is needed to press keys";
        const ExitStatus s = runToCompletion({GULPO_XDOTOOL, "key", keys}, screen_->display(),
                                             std::chrono::milliseconds(5000));
        ASSERT_TRUE(s.exited && s.code == 0) << "xdotool key " << keys << ": " << s.describe();
    }

    // What a window manager's close button does, and the program's answer.
    void closeAndExpectStatusZero() {
        ASSERT_TRUE(client_->takesDeleteRequests(window_))
            << "the window does not list WM_DELETE_WINDOW in WM_PROTOCOLS, so a window "
               "manager would kill the program instead of asking it to close";
        client_->askToClose(window_);
        const auto status = program_->waitFor(std::chrono::milliseconds(5000));
        ASSERT_TRUE(status.has_value())
            << "gulpo was still running 5 s after its window was asked to close; "
            << programState();
        EXPECT_TRUE(status->exited && status->code == 0)
            << "gulpo " << status->describe() << " after its window was asked to close; "
            << programState();
    }

    std::string name_;
    std::string programLog_;
    std::optional<VirtualScreen> screen_;
    std::optional<ChildProcess> program_;
    std::optional<XClient> client_;
    XWindowId window_ = 0;
};

using WindowAtLoad = GulpoWindow;

TEST_F(WindowAtLoad, HasTheClientSizeOfTheDesign) {
    const playfield::Playfield model;
    const auto size = client_->size(window_);
    ASSERT_TRUE(size.has_value()) << "the window went away; " << programState();
    EXPECT_EQ(size->width, model.frmGulpo.clientWidth() / kTwipsPerPixel);
    EXPECT_EQ(size->height, model.frmGulpo.clientHeight() / kTwipsPerPixel);
    EXPECT_EQ(size->width, 467);
    EXPECT_EQ(size->height, 520);
    EXPECT_EQ(client_->instanceName(window_), "gulpo");
}

TEST_F(WindowAtLoad, ShowsPureBlueExactlyWhereTheMazeHasWalls) {
    const playfield::Playfield model;
    // Until the first paint the window may show anything; it must settle on
    // the maze within the deadline.
    const Screenshot shot = captureWhen(
        [&](const Screenshot& s) { return compareWalls(s, model.frmGulpo).mismatches == 0; },
        std::chrono::milliseconds(5000));
    ASSERT_FALSE(shot.empty()) << "the window could not be captured; " << programState();
    keep(shot, "at_load");

    const WallComparison c = compareWalls(shot, model.frmGulpo);
    // The comparison means something only if the maze has walls on screen.
    ASSERT_GT(c.modelWalls, 10000);
    std::ostringstream first;
    for (const std::string& m : c.firstMismatches) {
        first << "\n  " << m;
    }
    EXPECT_EQ(c.mismatches, 0) << c.mismatches << " of " << shot.width * shot.height
                               << " pixels disagree with the maze (" << c.modelWalls
                               << " wall pixels in the model, " << c.shownBlue
                               << " pure blue on screen); the first ones:" << first.str();
}

TEST_F(WindowAtLoad, ClosingTheWindowEndsTheProgramWithStatusZero) {
    closeAndExpectStatusZero();
}

using StartAndSteer = GulpoWindow;

TEST_F(StartAndSteer, AltSStartsTheGameAndTheLeftArrowSendsThePlayerThroughTheTunnel) {
    const playfield::Playfield atLoad;
    playfield::Playfield started;
    started.cmdStart.setVisible(false);
    started.cmdAbout.setVisible(false);
    const PixelRect startButton = pixelsOf(atLoad.cmdStart.box());
    const auto buttonGone = [&](const Screenshot& s) {
        return differingPixels(s, started.frmGulpo, startButton) == 0;
    };

    // The Start button shows its face until Start is chosen.
    const Screenshot before = captureWhen(
        [&](const Screenshot& s) {
            return compareWalls(s, atLoad.frmGulpo).mismatches == 0 &&
                   differingPixels(s, started.frmGulpo, startButton) * 2 > startButton.area();
        },
        std::chrono::milliseconds(5000));
    ASSERT_FALSE(before.empty()) << "the window could not be captured; " << programState();
    keep(before, "before_start");
    ASSERT_GT(differingPixels(before, started.frmGulpo, startButton) * 2, startButton.area())
        << "the Start button's face is not showing at x " << startButton.left << ".."
        << startButton.right - 1 << ", y " << startButton.top << ".." << startButton.bottom - 1;

    ASSERT_TRUE(client_->focus(window_, std::chrono::milliseconds(2000)))
        << "the window did not get the input focus";
    press("alt+s");
    const Screenshot afterStart = captureWhen(buttonGone, std::chrono::milliseconds(2000));
    const auto startSeen = Clock::now();
    keep(afterStart, "after_start");
    ASSERT_TRUE(buttonGone(afterStart))
        << differingPixels(afterStart, started.frmGulpo, startButton) << " of "
        << startButton.area()
        << " pixels of the Start button's area still differ from the bare window 2 s after "
           "Alt+S; "
        << programState();

    // Start waits 2 s before the first tick.
    std::this_thread::sleep_until(startSeen + std::chrono::milliseconds(2300));
    const std::vector<bool> dots = dotMask(atLoad, afterStart.width, afterStart.height);
    // Ticking, but with no arrow pressed yet, the player stands at its start
    // spot (the first tick lifts it off the wall below by 2 pixels).
    const Screenshot standing = client_->capture(window_);
    ASSERT_FALSE(standing.empty()) << "the window went away; " << programState();
    keep(standing, "standing");
    const PixelRect spot = pixelsOf(atLoad.imgGulpo.box());
    const YellowBlob still = playerInTunnel(standing, dots);
    EXPECT_GT(still.count, 100) << still.describe();
    EXPECT_NEAR(still.centreX, (spot.left + spot.right - 1) / 2.0, 4.0)
        << "the player left its start spot before any arrow was pressed: " << still.describe();

    press("Left");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const Screenshot first = client_->capture(window_);
    const auto firstTaken = Clock::now();
    std::this_thread::sleep_until(firstTaken + std::chrono::milliseconds(1000));
    const Screenshot second = client_->capture(window_);
    ASSERT_FALSE(first.empty() || second.empty()) << "the window went away; " << programState();
    keep(first, "steer_first");
    keep(second, "steer_second");

    const YellowBlob a = playerInTunnel(first, dots);
    const YellowBlob b = playerInTunnel(second, dots);
    // A 25 by 25 disc, even with a dot's box over part of it.
    EXPECT_GT(a.count, 100) << "the player is not in the tunnel rows in the first picture: "
                            << a.describe();
    EXPECT_GT(b.count, 100) << "the player is not in the tunnel rows in the second picture: "
                            << b.describe();
    EXPECT_GE(std::abs(b.centreX - a.centreX), 10.0)
        << "the player did not move in the second between the pictures: first " << a.describe()
        << "; then " << b.describe();
    EXPECT_TRUE(buttonGone(second)) << "the Start button came back while the game runs";

    closeAndExpectStatusZero();
}

}  // namespace
}  // namespace window_test
