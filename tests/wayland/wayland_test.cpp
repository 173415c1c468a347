// The game as a native Wayland client of a private headless Weston: the
// caption its toplevel carries, the maze where the colour query has it, at
// the output's scale of 1 and of 2, and (played from a script, as the
// compositor has no input devices) Start, the arrow keys, the dots' sound at
// a private sound server's sink and the close.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/form.h"
#include "playfield/layout.h"
#include "playfield/playfield.h"
#include "sessions/dot_sounds.h"
#include "sessions/pulse_server.h"
#include "sessions/sink_recorder.h"
#include "sessions/weston_server.h"
#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

// The player's disc covers about 490 pixels of its 25 by 25 box; a dot 64.
constexpr long kPlayerPixels = 300;
// Where the player stops after Right from its start spot: before the wall
// past the dot at Left 2160, 30 twips above its start.
constexpr int kRestingLeft = 2130;
constexpr int kRestingTop = 2850;

// The window's client area on an output of `scale`, in the output's pixels:
// its design size, at the mapping's own 15 twips a pixel, times the scale.
WindowSize clientSizeAt(int scale) {
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
            if (shot.at(x, y) == kWallShown) {
                return Point2{x, y};
            }
        }
    }
    return std::nullopt;
}

// Where the window's client area of `size` lies in an output picture: the
// first wall pixel of the scene falls on the first pure blue pixel there.
std::optional<Point2> clientOrigin(const Screenshot& shot, const platform::Form& model,
                                   const platform::TwipsMapping& mapping, WindowSize size) {
    const auto blue = firstBlue(shot);
    if (!blue) {
        return std::nullopt;
    }
    for (int py = 0; py < size.height; ++py) {
        for (int px = 0; px < size.width; ++px) {
            if (modelAt(model, mapping, px, py) == playfield::WallColour) {
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

long yellowPixels(const Screenshot& client, const PixelRect& area) {
    long n = 0;
    for (int py = area.top; py < area.bottom; ++py) {
        for (int px = area.left; px < area.right; ++px) {
            n += client.at(px, py) == kPureYellow ? 1 : 0;
        }
    }
    return n;
}

// No X server: a compositor of the test's own, at the scale it asks for.
class WaylandSession : public RealProgramTest {
  protected:
    WaylandSession() { onX = false; }

    void SetUp() override {
        if (!westonInstalled()) {
            GTEST_SKIP() << "weston is not installed here, so no Wayland session can be run";
        }
        RealProgramTest::SetUp();
    }

    void startCompositor(int scale) {
        scale_ = scale;
        client_ = clientSizeAt(scale);
        mapping_ = platform::TwipsMapping::fit(playfield::kClientWidth, playfield::kClientHeight,
                                               client_.width, client_.height);
        try {
            weston_.emplace(dir(), 1024, 768, scale);
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
    }

    // The game itself, or the game watching `script` and playing its sound
    // into a private sound server, its timings written.
    void startGame(const std::string& script = "") {
        programLog_ = dir() + "/gulpo.log";
        if (script.empty()) {
            program_ = weston_->startClient({options.program}, programLog_);
            return;
        }
        try {
            pulse_.emplace(dir());
            sink_.emplace(pulse_->address(), PulseServer::kMonitor);
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        const std::string scriptPath = dir() + "/input.txt";
        std::ofstream(scriptPath) << script;
        beepLog_ = dir() + "/timings.txt";
        program_ =
            weston_->startClient({options.program, "--watch", scriptPath, "--timings", beepLog_},
                                 programLog_, {"PULSE_SERVER=" + pulse_->address()});
    }

    std::string programState() {
        std::ostringstream s;
        if (auto status = program_->waitFor(Millis(0))) {
            s << "the program " << status->describe();
        } else {
            s << "the program is still running";
        }
        s << "; its output:\n" << readFile(programLog_);
        return s.str();
    }

    // The window's client area in the compositor's screenshots, until
    // `ready` holds for it or `timeout` has passed; the last one either way,
    // empty if none showed the maze. The last whole output is kept as
    // `what`.
    template <typename Ready>
    Screenshot clientWhen(Ready ready, Millis timeout, const std::string& what) {
        Screenshot shot;
        std::optional<Point2> origin;
        const auto client = [&] {
            return crop(shot, origin->x, origin->y, client_.width, client_.height);
        };
        pollUntil(
            [&] {
                shot = weston_->screenshot();
                origin = shot.empty() ? std::nullopt
                                      : clientOrigin(shot, model_.frmGulpo, mapping_, client_);
                return origin && ready(client());
            },
            timeout, Millis(50));
        keep(shot, what);
        return origin ? client() : Screenshot{};
    }

    // The maze shows exactly where the scene has walls, at the output's
    // scale.
    void expectTheMaze() {
        const Screenshot client = clientWhen(
            [&](const Screenshot& c) {
                return compareWalls(c, model_.frmGulpo, mapping_).mismatches == 0;
            },
            Millis(10000), "maze");
        ASSERT_FALSE(client.empty())
            << "no picture from the compositor's screenshooter, or no window showing the maze "
            << "in it; " << programState();
        const WallComparison c = compareWalls(client, model_.frmGulpo, mapping_);
        EXPECT_GT(c.modelWalls, 10000L * scale_ * scale_);
        EXPECT_EQ(c.mismatches, 0) << "in the client area, " << c.describe(client);
    }

    std::string programLog_;
    std::string beepLog_;
    std::optional<WestonServer> weston_;
    std::optional<PulseServer> pulse_;
    std::optional<SinkRecorder> sink_;
    std::unique_ptr<ChildProcess> program_;
    playfield::Playfield model_;
    int scale_ = 1;
    WindowSize client_;
    platform::TwipsMapping mapping_;
};

// The scale the client's buffers are drawn at: the last it set, else 1.
int bufferScale(const std::string& protocol) {
    const std::string request = ".set_buffer_scale(";
    const auto at = protocol.rfind(request);
    return at == std::string::npos ? 1 : std::atoi(protocol.c_str() + at + request.size());
}

// The output's scale.
class WaylandWindow : public WaylandSession, public ::testing::WithParamInterface<int> {};

TEST_P(WaylandWindow, CarriesTheCaptionGulpoAndShowsTheMazeAtTheOutputsScale) {
    ASSERT_NO_FATAL_FAILURE(startCompositor(GetParam()));
    ASSERT_NO_FATAL_FAILURE(startGame());
    EXPECT_TRUE(weston_->waitForLog(".set_title(\"Gulpo\")", Millis(10000)))
        << "no toplevel titled \"Gulpo\" in the compositor's protocol log; " << programState();
    EXPECT_TRUE(weston_->waitForLog(".set_app_id(\"" GULPO_APP_ID "\")", Millis(1000)))
        << "the toplevel does not name its desktop entry " GULPO_APP_ID;
    expectTheMaze();
    // Drawn by the program at the output's scale, not scaled by the
    // compositor.
    EXPECT_EQ(bufferScale(weston_->clientProtocol(".set_title(\"Gulpo\")")), GetParam())
        << "the window's buffers are not drawn at the output's scale";
}

INSTANTIATE_TEST_SUITE_P(Wayland, WaylandWindow, ::testing::Values(1, 2),
                         [](const ::testing::TestParamInfo<int>& p) {
                             return "Scale" + std::to_string(p.param);
                         });

using WaylandInput = WaylandSession;

TEST_F(WaylandInput, AltSStartsRightEatsTheTunnelDotsWithTheirSoundAndCloseEndsWithStatusZero) {
    ASSERT_NO_FATAL_FAILURE(startCompositor(1));
    // Start once the window has been seen at load, then Right when Start's
    // pause is over; the close once the player has long stopped at the wall.
    ASSERT_NO_FATAL_FAILURE(startGame("3000 alt S\n5100 key 39\n12000 closewin main\n"));
    const StartButtonArea startButton(mapping_);
    const platform::Box startBox = model_.imgGulpo.box();
    const PixelRect startSpot = pixelsOf(startBox, mapping_);
    // Where Right takes the player: along the tunnel row (lifted off the wall
    // below by the first tick) to the wall past the second dot.
    const PixelRect restingSpot =
        pixelsOf({kRestingLeft, kRestingTop, startBox.width, startBox.height}, mapping_);

    // At load: the Start button's face, and the player on its start spot.
    const Screenshot loaded = clientWhen(
        [&](const Screenshot& client) {
            return startButton.faceShows(client) && yellowPixels(client, startSpot) > kPlayerPixels;
        },
        Millis(10000), "at_load");
    ASSERT_FALSE(loaded.empty()) << "no window showing the maze; " << programState();
    ASSERT_GT(yellowPixels(loaded, startSpot), kPlayerPixels)
        << "the player is not on its start spot at load";
    ASSERT_LT(yellowPixels(loaded, restingSpot), kPlayerPixels);

    std::vector<DotSound> sounds;
    pollUntil(
        [&] {
            sounds = dotSounds(readDotTicks(beepLog_), *sink_, 100);
            return sounds.size() >= 2;
        },
        Millis(12000), Millis(20));
    ASSERT_EQ(sounds.size(), 2u)
        << "the two tunnel dots were not eaten (and recorded) within 7 s of Alt+S and Right; "
        << programState();
    // Heard in a Wayland session, where there is no X bell to ring.
    for (const DotSound& sound : sounds) {
        EXPECT_TRUE(sound.silentBefore && sound.delayMs.has_value())
            << "no sound of its own reached the sink within 100 ms of the dot eaten in tick "
            << sound.dot.tick;
    }

    // The buttons are gone and the player's disc stands by the wall.
    const Screenshot running = clientWhen(
        [&](const Screenshot& client) {
            return startButton.gone(client) && yellowPixels(client, restingSpot) > kPlayerPixels;
        },
        Millis(5000), "playing");
    ASSERT_FALSE(running.empty()) << "no window showing the maze; " << programState();
    EXPECT_EQ(startButton.differing(running), 0)
        << "the Start button still shows while the game runs";
    EXPECT_GT(yellowPixels(running, restingSpot), kPlayerPixels)
        << "the player is not by the wall past the second tunnel dot";

    const auto status = program_->waitFor(Millis(10000));
    ASSERT_TRUE(status.has_value()) << "the program did not end at the close; " << programState();
    EXPECT_TRUE(status->exited && status->code == 0) << programState();
}

}  // namespace
}  // namespace window_test
