// The game as a native Wayland client of a private headless Weston: the
// caption its toplevel carries, the maze where the colour query has it, at
// the output's scale of 1 and of 2, and (on the stopwatch build, which takes
// its keys through Qt's window-system interface, as the compositor has no
// input devices) Start, the arrow keys, the dots' sound at a private sound
// server's sink and the close.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/form.h"
#include "playfield/layout.h"
#include "playfield/playfield.h"
#include "tests/servers/pulse_server.h"
#include "tests/servers/weston_session.h"
#include "tests/sound/dot_sounds.h"
#include "tests/sound/sink_recorder.h"
#include "tests/window/artifact.h"
#include "tests/window/scene_pixels.h"

namespace wayland_test {
namespace {

using server_test::Millis;
using window_test::Screenshot;

constexpr std::uint32_t kPureBlue = 0x0000FF;    // as 0x00RRGGBB
constexpr std::uint32_t kPureYellow = 0xFFFF00;  // the player's body, and the dots
// The player's disc covers about 490 pixels of its 25 by 25 box; a dot 64.
constexpr long kPlayerPixels = 300;
// Where the player stops after Right from its start spot: before the wall
// past the dot at Left 2160, 30 twips above its start.
constexpr int kRestingLeft = 2130;
constexpr int kRestingTop = 2850;

// The window's client area on an output of `scale`, in the output's pixels:
// its design size, at the mapping's own 15 twips a pixel, times the scale.
window_test::WindowSize clientSizeAt(int scale) {
    const platform::TwipsMapping design;
    return {design.x(playfield::kClientWidth) * scale, design.y(playfield::kClientHeight) * scale};
}

struct Point2 {
    int x = 0;
    int y = 0;
};

// The first pure blue pixel, row by row.
std::optional<Point2> firstBlue(const Screenshot& shot) {
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            if (shot.at(x, y) == kPureBlue) {
                return Point2{x, y};
            }
        }
    }
    return std::nullopt;
}

// Where the window's client area of `size` lies in an output picture: the
// first wall pixel of the scene falls on the first pure blue pixel there.
std::optional<Point2> clientOrigin(const Screenshot& shot, const platform::Form& model,
                                   const platform::TwipsMapping& mapping,
                                   window_test::WindowSize size) {
    const auto blue = firstBlue(shot);
    if (!blue) {
        return std::nullopt;
    }
    for (int py = 0; py < size.height; ++py) {
        for (int px = 0; px < size.width; ++px) {
            if (window_test::modelAt(model, mapping, px, py) == playfield::WallColour) {
                const Point2 origin{blue->x - px, blue->y - py};
                if (origin.x < 0 || origin.y < 0 || origin.x + size.width > shot.width ||
                    origin.y + size.height > shot.height) {
                    return std::nullopt;
                }
                return origin;
            }
        }
    }
    return std::nullopt;
}

long yellowPixels(const Screenshot& client, const window_test::PixelRect& area) {
    long n = 0;
    for (int py = area.top; py < area.bottom; ++py) {
        for (int px = area.left; px < area.right; ++px) {
            n += client.at(px, py) == kPureYellow ? 1 : 0;
        }
    }
    return n;
}

class WaylandSession : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::string(GULPO_WESTON).empty()) {
            GTEST_SKIP() << "weston is not installed here, so no Wayland session can be run";
        }
        char pattern[] = "/tmp/gulpo-wayland-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr) << std::strerror(errno);
        dir_ = pattern;
        name_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }

    void TearDown() override {
        if (input_ >= 0) {
            ::close(input_);
        }
        program_.reset();
        weston_.reset();
        sink_.reset();
        pulse_.reset();
        if (HasFailure()) {
            std::cerr << "the session's logs are kept in " << dir_ << "\n";
        } else {
            std::filesystem::remove_all(dir_);
        }
    }

    void startCompositor(int scale) {
        scale_ = scale;
        client_ = clientSizeAt(scale);
        mapping_ = platform::TwipsMapping::fit(playfield::kClientWidth, playfield::kClientHeight,
                                               client_.width, client_.height);
        try {
            weston_.emplace(GULPO_WESTON, dir_, 1024, 768, scale);
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
    }

    // The game itself, or its stopwatch build taking commands on a pipe and
    // playing its sound into a private sound server.
    void startGame(bool withInput) {
        programLog_ = dir_ + "/gulpo.log";
        if (!withInput) {
            program_ = weston_->startClient({GULPO_PROGRAM}, programLog_);
            return;
        }
        try {
            pulse_.emplace(GULPO_PULSEAUDIO, dir_);
            sink_.emplace(pulse_->address(), server_test::PulseServer::kMonitor);
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        int fds[2] = {-1, -1};
        ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0) << std::strerror(errno);
        beepLog_ = dir_ + "/beeps.log";
        program_ = weston_->startClient(
            {GULPO_TICK_PROBE, "--beep-log", beepLog_, "--input-fd", std::to_string(fds[0])},
            programLog_, fds[0], {"PULSE_SERVER=" + pulse_->address()});
        ::close(fds[0]);
        input_ = fds[1];
    }

    void send(const std::string& command) {
        const std::string line = command + "\n";
        ASSERT_EQ(::write(input_, line.data(), line.size()), static_cast<ssize_t>(line.size()))
            << "could not send '" << command << "' to the program";
    }

    std::string programState() {
        std::ostringstream s;
        if (auto status = program_->waitFor(Millis(0))) {
            s << "the program " << status->describe();
        } else {
            s << "the program is still running";
        }
        s << "; its output:\n" << window_test::readFile(programLog_);
        return s.str();
    }

    // Screenshots until `ready` holds for the client area of one (once
    // found) or `timeout` has passed; the last one either way.
    template <typename Ready>
    Screenshot screenshotWhen(Ready ready, Millis timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            Screenshot shot = weston_->screenshot(GULPO_SCREENSHOOTER);
            if (!shot.empty()) {
                origin_ = clientOrigin(shot, model_.frmGulpo, mapping_, client_);
                if (origin_ && ready(clientArea(shot))) {
                    return shot;
                }
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return shot;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    // The window's client area in an output picture, where it was found.
    Screenshot clientArea(const Screenshot& shot) const {
        return window_test::crop(shot, origin_->x, origin_->y, client_.width, client_.height);
    }

    void keep(const Screenshot& shot, const std::string& what) {
        window_test::savePng(shot,
                             window_test::artifactPath("wayland_" + name_ + "_" + what + ".png"));
    }

    // The maze shows exactly where the scene has walls, at the output's
    // scale.
    void expectTheMaze() {
        const Screenshot shot = screenshotWhen(
            [&](const Screenshot& client) {
                return window_test::compareWalls(client, model_.frmGulpo, mapping_).mismatches == 0;
            },
            Millis(10000));
        keep(shot, "maze");
        ASSERT_FALSE(shot.empty()) << "the compositor's screenshooter took no picture";
        ASSERT_TRUE(origin_.has_value())
            << "no window showing the maze in the compositor's picture; " << programState();
        const Screenshot client = clientArea(shot);
        const window_test::WallComparison c =
            window_test::compareWalls(client, model_.frmGulpo, mapping_);
        EXPECT_GT(c.modelWalls, 10000L * scale_ * scale_);
        EXPECT_EQ(c.mismatches, 0) << "in the client area, " << c.describe(client);
    }

    std::string dir_;
    std::string name_;
    std::string programLog_;
    std::string beepLog_;
    int input_ = -1;
    std::optional<server_test::WestonSession> weston_;
    std::optional<server_test::PulseServer> pulse_;
    std::optional<sound_test::SinkRecorder> sink_;
    std::unique_ptr<window_test::ChildProcess> program_;
    playfield::Playfield model_;
    int scale_ = 1;
    window_test::WindowSize client_;
    platform::TwipsMapping mapping_;
    std::optional<Point2> origin_;
};

using WaylandWindow = WaylandSession;

TEST_F(WaylandWindow, CarriesTheCaptionGulpoAndShowsTheMazeWhereTheColourQueryHasIt) {
    ASSERT_NO_FATAL_FAILURE(startCompositor(1));
    ASSERT_NO_FATAL_FAILURE(startGame(false));
    EXPECT_TRUE(weston_->waitForLog(".set_title(\"Gulpo\")", Millis(10000)))
        << "no toplevel titled \"Gulpo\" in the compositor's protocol log; " << programState();
    EXPECT_TRUE(weston_->waitForLog(".set_app_id(\"" GULPO_APP_ID "\")", Millis(1000)))
        << "the toplevel does not name its desktop entry " GULPO_APP_ID;
    expectTheMaze();
}

TEST_F(WaylandWindow, ShowsTheMazeAtTwiceTheSizeOnAnOutputOfScale2) {
    ASSERT_NO_FATAL_FAILURE(startCompositor(2));
    ASSERT_NO_FATAL_FAILURE(startGame(false));
    expectTheMaze();
    // Drawn by the program at the output's scale, not doubled by the
    // compositor.
    EXPECT_NE(weston_->clientProtocol(".set_title(\"Gulpo\")").find(".set_buffer_scale(2)"),
              std::string::npos)
        << "the window's buffers are not drawn at scale 2";
}

using WaylandInput = WaylandSession;

TEST_F(WaylandInput, AltSStartsRightEatsTheTunnelDotsWithTheirSoundAndCloseEndsWithStatusZero) {
    ASSERT_NO_FATAL_FAILURE(startCompositor(1));
    ASSERT_NO_FATAL_FAILURE(startGame(true));
    const window_test::StartButtonArea startButton(mapping_);
    const platform::Box startBox = model_.imgGulpo.box();
    const window_test::PixelRect startSpot = window_test::pixelsOf(startBox, mapping_);
    // Where Right takes the player: along the tunnel row (lifted off the wall
    // below by the first tick) to the wall past the second dot.
    const window_test::PixelRect restingSpot = window_test::pixelsOf(
        {kRestingLeft, kRestingTop, startBox.width, startBox.height}, mapping_);

    // At load: the Start button's face, and the player on its start spot.
    const Screenshot atLoad = screenshotWhen(
        [&](const Screenshot& client) {
            return startButton.faceShows(client) && yellowPixels(client, startSpot) > kPlayerPixels;
        },
        Millis(10000));
    keep(atLoad, "at_load");
    ASSERT_TRUE(origin_.has_value()) << "no window showing the maze; " << programState();
    const Screenshot loaded = clientArea(atLoad);
    ASSERT_GT(yellowPixels(loaded, startSpot), kPlayerPixels)
        << "the player is not on its start spot at load";
    ASSERT_LT(yellowPixels(loaded, restingSpot), kPlayerPixels);

    ASSERT_NO_FATAL_FAILURE(send("key Alt+S"));
    ASSERT_NO_FATAL_FAILURE(send("key Right"));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::vector<sound_test::DotSound> sounds;
    while (sounds.size() < 2 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        sounds = sound_test::dotSounds(sound_test::readDotTicks(beepLog_), *sink_, 100);
    }
    ASSERT_EQ(sounds.size(), 2u)
        << "the two tunnel dots were not eaten (and recorded) within 10 s of Alt+S and Right; "
        << programState();
    // Heard in a Wayland session, where there is no X bell to ring.
    for (const sound_test::DotSound& sound : sounds) {
        EXPECT_TRUE(sound.silentBefore && sound.delayMs.has_value())
            << "no sound of its own reached the sink within 100 ms of the dot eaten in tick "
            << sound.dot.tick;
    }

    // The buttons are gone and the player's disc stands by the wall.
    const Screenshot playing = screenshotWhen(
        [&](const Screenshot& client) {
            return startButton.gone(client) && yellowPixels(client, restingSpot) > kPlayerPixels;
        },
        Millis(5000));
    keep(playing, "playing");
    ASSERT_TRUE(origin_.has_value()) << "no window showing the maze; " << programState();
    const Screenshot running = clientArea(playing);
    EXPECT_EQ(startButton.differing(running), 0)
        << "the Start button still shows while the game runs";
    EXPECT_GT(yellowPixels(running, restingSpot), kPlayerPixels)
        << "the player is not by the wall past the second tunnel dot";

    ASSERT_NO_FATAL_FAILURE(send("close"));
    const auto status = program_->waitFor(Millis(5000));
    ASSERT_TRUE(status.has_value())
        << "the program did not end within 5 s of the close; " << programState();
    EXPECT_TRUE(status->exited && status->code == 0) << programState();
}

}  // namespace
}  // namespace wayland_test
