// The time from a dot's beep to its sound at the sound server's sink: the
// stopwatch build of the program under its own Xvfb, playing into a private
// PulseAudio server whose null sink is recorded here. Median and worst of 20
// dots: ten games, each started with Enter and walked right along the tunnel
// row over its two dots, 0.4 s apart, so that each sound's start stands out.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/servers/pulse_server.h"
#include "tests/sound/dot_sounds.h"
#include "tests/sound/game_on_screen.h"
#include "tests/sound/sink_recorder.h"

namespace {

using namespace std::chrono;
using namespace sound_test;

constexpr int kGames = 10;
constexpr std::size_t kDotsPerGame = 2;
constexpr double kWindowMs = 500;

// One game's two tunnel dots; empty if they were not eaten within 10 s.
std::vector<DotSound> tunnelDots(const std::string& dir, const server_test::PulseServer& server,
                                 const SinkRecorder& sink) {
    GameOnScreen game("sound_bench", dir + "/beeps.log", {"PULSE_SERVER=" + server.address()});
    game.press("Return");
    game.press("Right");
    const auto deadline = steady_clock::now() + seconds(10);
    std::vector<DotSound> sounds;
    while (sounds.size() < kDotsPerGame && steady_clock::now() < deadline) {
        std::this_thread::sleep_for(milliseconds(50));
        sounds = dotSounds(readDotTicks(game.beepLog()), sink, kWindowMs);
    }
    game.close(milliseconds(3000));
    return sounds;
}

}  // namespace

int main() {
    char pattern[] = "/tmp/gulpo-sound-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string dir = pattern;
    std::vector<double> delays;
    int unheard = 0;
    {
        server_test::PulseServer server(GULPO_PULSEAUDIO, dir);
        SinkRecorder sink(server.address(), server_test::PulseServer::kMonitor);
        for (int g = 0; g < kGames; ++g) {
            for (const DotSound& s : tunnelDots(dir, server, sink)) {
                if (s.silentBefore && s.delayMs) {
                    delays.push_back(*s.delayMs);
                } else {
                    ++unheard;
                }
            }
        }
    }
    std::system(("rm -rf " + dir).c_str());
    if (delays.empty()) {
        std::printf("sound: no dot's sound measured\n");
        return 1;
    }
    std::sort(delays.begin(), delays.end());
    std::printf(
        "sound: beep to first sound at the sink, %zu dots: median %.2f ms, worst %.2f ms, %d "
        "not heard within %.0f ms   (goal: median < 50 ms)\n",
        delays.size() + static_cast<std::size_t>(unheard), delays[(delays.size() - 1) / 2],
        delays.back(), unheard, kWindowMs);
    return unheard == 0 && delays.size() == kGames * kDotsPerGame ? 0 : 1;
}
