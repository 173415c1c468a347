#include "tests/sound/pulse_server.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace sound_test {

namespace {

bool acceptsConnections(const std::string& socketPath) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

PulseServer::PulseServer(const std::string& pulseaudioPath, const std::string& dir) {
    const std::string runtime = dir + "/runtime";
    const std::string home = dir + "/home";
    ::mkdir(runtime.c_str(), 0700);
    ::mkdir(home.c_str(), 0700);
    const std::string socketPath = runtime + "/native";
    address_ = "unix:" + socketPath;
    const std::string log = dir + "/pulseaudio.log";
    // env(1) replaces the test's own HOME and runtime folder, so that the
    // server's cookie and state stay in `dir`. The sink comes before the
    // socket: once the socket answers, the sink is there.
    daemon_.emplace(
        std::vector<std::string>{
            "/usr/bin/env", "HOME=" + home, "XDG_RUNTIME_DIR=" + runtime,
            "XDG_CONFIG_HOME=" + home + "/.config", "PULSE_RUNTIME_PATH=" + runtime,
            "PULSE_STATE_PATH=" + home + "/state", pulseaudioPath, "-n", "--daemonize=no",
            "--system=false", "--exit-idle-time=-1", "--use-pid-file=false", "--realtime=no",
            "--high-priority=no", "--log-target=stderr",
            "--load=module-null-sink sink_name=" + std::string(kSink) + " rate=44100 channels=2",
            "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socketPath},
        std::vector<std::string>{}, log);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!acceptsConnections(socketPath)) {
        if (daemon_->waitFor(window_test::Millis(0)) ||
            std::chrono::steady_clock::now() >= deadline) {
            daemon_->stop(window_test::Millis(500));
            throw std::runtime_error("pulseaudio did not take connections on " + socketPath +
                                     "; its log says:\n" + readFile(log));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace sound_test
