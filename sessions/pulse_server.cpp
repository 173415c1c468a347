#include "sessions/pulse_server.h"

#include <sys/stat.h>

namespace sessions {

namespace {

// Its own HOME and runtime folder in place of its starter's, so that the
// server's cookie and state stay in `dir`. The sink comes before the
// socket: once the socket answers, the sink is there.
ServerStart pulseaudio(const std::string& dir) {
    const std::string runtime = dir + "/runtime";
    const std::string home = dir + "/home";
    ::mkdir(runtime.c_str(), 0700);
    ::mkdir(home.c_str(), 0700);
    const std::string socketPath = runtime + "/native";
    return {"pulseaudio",
            {GULPO_PULSEAUDIO, "-n", "--daemonize=no", "--system=false", "--exit-idle-time=-1",
             "--use-pid-file=false", "--realtime=no", "--high-priority=no", "--log-target=stderr",
             "--load=module-null-sink sink_name=" + std::string(PulseServer::kSink) +
                 " rate=44100 channels=2",
             "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socketPath},
            {"HOME=" + home, "XDG_RUNTIME_DIR=" + runtime, "XDG_CONFIG_HOME=" + home + "/.config",
             "PULSE_RUNTIME_PATH=" + runtime, "PULSE_STATE_PATH=" + home + "/state"},
            dir + "/pulseaudio.log",
            servingOn(socketPath)};
}

}  // namespace

PulseServer::PulseServer(const std::string& dir) : Server(pulseaudio(dir)), dir_(dir) {}

}  // namespace sessions
