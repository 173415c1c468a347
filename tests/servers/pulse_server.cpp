#include "tests/servers/pulse_server.h"

#include <sys/stat.h>

#include "tests/servers/serving.h"

namespace server_test {

PulseServer::PulseServer(const std::string& pulseaudioPath, const std::string& dir) {
    const std::string runtime = dir + "/runtime";
    const std::string home = dir + "/home";
    ::mkdir(runtime.c_str(), 0700);
    ::mkdir(home.c_str(), 0700);
    const std::string socketPath = runtime + "/native";
    address_ = "unix:" + socketPath;
    const std::string log = dir + "/pulseaudio.log";
    // Its own HOME and runtime folder in place of the test's, so that the
    // server's cookie and state stay in `dir`. The sink comes before the
    // socket: once the socket answers, the sink is there.
    daemon_.emplace(
        std::vector<std::string>{
            pulseaudioPath, "-n", "--daemonize=no", "--system=false", "--exit-idle-time=-1",
            "--use-pid-file=false", "--realtime=no", "--high-priority=no", "--log-target=stderr",
            "--load=module-null-sink sink_name=" + std::string(kSink) + " rate=44100 channels=2",
            "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socketPath},
        std::vector<std::string>{
            "HOME=" + home, "XDG_RUNTIME_DIR=" + runtime, "XDG_CONFIG_HOME=" + home + "/.config",
            "PULSE_RUNTIME_PATH=" + runtime, "PULSE_STATE_PATH=" + home + "/state"},
        log);
    server_test::waitUntilServing(*daemon_, "pulseaudio", socketPath, log);
}

}  // namespace server_test
