// The dot's sound where the player hears it: the real program (its stopwatch
// build, which logs the time of every beep) under a private Xvfb,
// playing into a private sound server whose null sink is recorded by the
// test. And the game without a sound server: it plays on, shows nothing but
// its window, and ends cleanly.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "sessions/dot_sounds.h"
#include "sessions/game_on_screen.h"
#include "sessions/pulse_server.h"
#include "sessions/sink_recorder.h"
#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

using std::chrono::milliseconds;

constexpr Nanos kNanosPerMs = 1'000'000;
// From the start spot the Right arrow walks the player along the tunnel row
// over the dots at Left 1440 and 2160, 720 twips apart: 24 ticks at 30 twips
// a tick.
constexpr long long kTicksBetweenTunnelDots = 24;

// Polls until the beep log has `count` dots; all it has by `timeout`.
std::vector<DotTick> waitForDots(const GameOnScreen& game, std::size_t count, Millis timeout) {
    std::vector<DotTick> dots;
    pollUntil(
        [&] {
            dots = readDotTicks(game.beepLog());
            return dots.size() >= count;
        },
        timeout);
    return dots;
}

// The game starts once its sound server is there, and it needs Xvfb: the X
// bell stands in for the sound.
class SoundSession : public RealProgramTest {
  protected:
    SoundSession() { launchInSetUp = false; }

    void SetUp() override {
        ASSERT_TRUE(xvfbInstalled()) << "Xvfb is needed to show the game";
        RealProgramTest::SetUp();
    }

    void TearDown() override {
        game_.reset();
        RealProgramTest::TearDown();
    }

    void startGame(const std::string& pulseServer) {
        try {
            game_.emplace(program(), dir() + "/beeps.log",
                          std::vector<std::string>{"PULSE_SERVER=" + pulseServer});
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
    }

    // Start, and the Right arrow during Start's pause.
    void startAndWalkRight() {
        ASSERT_TRUE(game_->press("Return")) << "could not press Enter; " << game_->state();
        ASSERT_TRUE(game_->press("Right")) << "could not press Right; " << game_->state();
    }

    // The game eats the two tunnel dots in their ticks, promptly, rings the X
    // bell for each instead, shows no window but its own, and ends with
    // status 0 when its window is closed.
    void expectTheGamePlaysOnAndEndsCleanly() {
        startAndWalkRight();
        const std::vector<DotTick> dots = waitForDots(*game_, 2, Millis(10000));
        ASSERT_EQ(dots.size(), 2u)
            << "the tunnel dots were not both eaten within 10 s; " << game_->state();
        EXPECT_EQ(dots[1].tick - dots[0].tick, kTicksBetweenTunnelDots);
        // 24 ticks take 0.4 s; a beep that waited on the sound server would
        // stall the tick far longer.
        EXPECT_LT(static_cast<double>(dots[1].at - dots[0].at) / kNanosPerMs, 1000.0)
            << "the ticks between the two dots were held up";
        EXPECT_EQ(game_->program().x().shownTopLevelNames(), std::vector<std::string>{"Gulpo"})
            << "a window other than the game's came up";
        const auto status = game_->close(Millis(3000));
        ASSERT_TRUE(status.has_value())
            << "the program did not end within 3 s of its window's close; " << game_->state();
        EXPECT_TRUE(status->exited && status->code == 0)
            << "the program " << status->describe() << "; " << game_->state();
        EXPECT_EQ(game_->bellsRung(), 2) << "the X bell did not stand in for the sound";
    }

    std::optional<GameOnScreen> game_;
};

using DotSoundAtTheSink = SoundSession;

TEST_F(DotSoundAtTheSink, EveryDotEatenSoundsAtTheSinkWithin100MsOfItsTick) {
    std::optional<PulseServer> server;
    std::optional<SinkRecorder> sink;
    try {
        server.emplace(dir());
        sink.emplace(server->address(), PulseServer::kMonitor);
    } catch (const std::exception& e) {
        FAIL() << e.what();
    }
    const Nanos recordingFrom = steadyNow();
    startGame(server->address());
    ASSERT_NO_FATAL_FAILURE(startAndWalkRight());
    const std::vector<DotTick> dots = waitForDots(*game_, 2, Millis(10000));
    ASSERT_EQ(dots.size(), 2u) << "the tunnel dots were not both eaten within 10 s; "
                               << game_->state();
    // Until the last window has been recorded.
    const Nanos until = dots.back().at + 100 * kNanosPerMs;
    while (sink->recordedUntil() < until && sink->error().empty() &&
           steadyNow() < until + 2000 * kNanosPerMs) {
        std::this_thread::sleep_for(milliseconds(10));
    }
    ASSERT_EQ(sink->error(), "");

    // Nothing sounds before the first dot (the program makes no sound as it
    // starts).
    EXPECT_FALSE(sink->firstSoundBetween(recordingFrom, dots[0].at).has_value())
        << "the sink played something before the first dot was eaten";
    const std::vector<DotSound> sounds = dotSounds(dots, *sink, 100);
    ASSERT_EQ(sounds.size(), 2u);
    for (const DotSound& s : sounds) {
        EXPECT_TRUE(s.silentBefore) << "the sink was not silent before tick " << s.dot.tick;
        ASSERT_TRUE(s.delayMs.has_value())
            << "no sound reached the sink within 100 ms of the dot eaten in tick " << s.dot.tick
            << "; " << game_->state();
        std::cout << "dot in tick " << s.dot.tick << ": sound at the sink after " << *s.delayMs
                  << " ms\n";
    }

    const auto status = game_->close(Millis(3000));
    ASSERT_TRUE(status.has_value()) << "the program did not end within 3 s of its window's close";
    EXPECT_TRUE(status->exited && status->code == 0) << "the program " << status->describe();
    EXPECT_EQ(game_->bellsRung(), 0) << "the X bell rang as well as the sound";
}

// The sound server hangs (stopped, then continued) or is killed and started
// again on its socket, while the player eats dots.
enum class Fault { hangs, restarts };

void PrintTo(Fault fault, std::ostream* os) {
    *os << (fault == Fault::hangs ? "hangs" : "restarts");
}

class ServerFault : public SoundSession, public ::testing::WithParamInterface<Fault> {};

TEST_P(ServerFault, NoDotSoundsLateAndSoundIsBackWithin2SOfTheServer) {
    std::optional<PulseServer> server;
    std::optional<SinkRecorder> sink;
    const auto serve = [&] {
        server.emplace(dir());
        sink.emplace(server->address(), PulseServer::kMonitor);
    };
    ASSERT_NO_THROW(serve());
    startGame(server->address());
    ASSERT_NO_FATAL_FAILURE(startAndWalkRight());
    ASSERT_EQ(waitForDots(*game_, 2, Millis(10000)).size(), 2u) << game_->state();
    std::this_thread::sleep_for(milliseconds(300));
    ASSERT_EQ(::kill(server->pid(), GetParam() == Fault::hangs ? SIGSTOP : SIGKILL), 0);
    // Four dots while the server is away.
    ASSERT_TRUE(game_->walk(kRoute[1]) && game_->walk(kRoute[2])) << game_->state();
    const Nanos back = steadyNow();
    if (GetParam() == Fault::hangs) {
        ASSERT_EQ(::kill(server->pid(), SIGCONT), 0);
    } else {
        sink.reset();
        server.reset();
        ASSERT_NO_THROW(serve());
    }
    // The first of them may find the server hung and be dropped.
    EXPECT_GE(game_->bellsRung(), 3) << "the X bell did not stand in while the server was away";
    std::this_thread::sleep_for(milliseconds(2000));
    ASSERT_TRUE(game_->walk(kRoute[3]) && game_->walk(kRoute[4])) << game_->state();

    const std::vector<DotTick> dots = readDotTicks(game_->beepLog());
    ASSERT_EQ(sink->error(), "");
    EXPECT_FALSE(sink->firstSoundBetween(back, dots[6].at).has_value())
        << "the dots eaten while the server was away were heard when it came back";
    const std::vector<DotSound> sounds =
        dotSounds(std::vector<DotTick>(dots.begin() + 6, dots.end()), *sink, 100);
    EXPECT_EQ(sounds.size(), 5u);
    for (const DotSound& s : sounds) {
        EXPECT_TRUE(s.silentBefore && s.delayMs.has_value())
            << "the dot in tick " << s.dot.tick << ", "
            << static_cast<double>(s.dot.at - back) / kNanosPerMs
            << " ms after the server came back, was not heard within 100 ms";
    }
    EXPECT_LE(game_->bellsRung(), 4) << "the X bell rang once the server was back";
}

INSTANTIATE_TEST_SUITE_P(Sound, ServerFault, ::testing::Values(Fault::hangs, Fault::restarts),
                         [](const ::testing::TestParamInfo<Fault>& p) {
                             return p.param == Fault::hangs ? "Hangs" : "Restarts";
                         });

using NoSoundServer = SoundSession;

TEST_F(NoSoundServer, TheGamePlaysOnShowsNoOtherWindowAndEndsCleanly) {
    startGame("unix:" + dir() + "/no-server-here");
    expectTheGamePlaysOnAndEndsCleanly();
}

TEST_F(NoSoundServer, AServerThatNeverAnswersHoldsUpNeitherPlayNorTheEnd) {
    // A socket that takes connections into its queue and never serves them:
    // a sound server that hangs.
    const std::string path = dir() + "/hung-server";
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0)
        << std::strerror(errno);
    ASSERT_EQ(::listen(fd, 16), 0) << std::strerror(errno);
    startGame("unix:" + path);
    expectTheGamePlaysOnAndEndsCleanly();
    ::close(fd);
}

}  // namespace
}  // namespace window_test
