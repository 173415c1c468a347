// The desktop program's resident memory over a long game, from outside: a
// random game watched from a script in the window under its own Xvfb, the
// resident and the anonymous (heap) memory read from /proc after one, five
// and twenty minutes (or the minutes given). Goal: no growth after the
// first minute.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "bench/session_script.h"
#include "sessions/xvfb_game.h"

namespace {

long long statusKb(pid_t pid, const std::string& field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stoll(line.substr(field.size() + 1));
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const int minutes = argc > 1 ? std::atoi(argv[1]) : 20;
    const std::string script = "/tmp/gulpo-memory-bench-" + std::to_string(::getpid()) + ".txt";
    std::ofstream(script) << bench::randomSession(1, minutes * 60000LL + 1000);
    sessions::XvfbGame session({"memory_bench", {"--watch", script}});
    if (!session.launch()) {
        std::printf("memory: the program showed no window: %s\n", session.state().c_str());
        return 1;
    }
    const pid_t pid = session.pid();
    const auto started = session.launchedAt();
    for (const int at : {1, 5, minutes}) {
        if (at > minutes) {
            continue;
        }
        std::this_thread::sleep_until(started + std::chrono::minutes(at));
        std::printf("memory: after %2d min of play: resident %lld kB, of it anonymous %lld kB\n",
                    at, statusKb(pid, "VmRSS"), statusKb(pid, "RssAnon"));
        std::fflush(stdout);
    }
    std::remove(script.c_str());
    return session.running() ? 0 : 1;
}
