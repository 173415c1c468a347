#pragma once

#include <string>

#include "sessions/process.h"

namespace sessions {

// A private PulseAudio sound server whose only sink is a null sink: what
// is played there can be recorded from its monitor, and nothing reaches a
// sound card. Its runtime, state and home folders are under `dir`; clients
// reach it at address(), and pid() is there to hang or kill it.
class PulseServer : public Server {
  public:
    static constexpr const char* kSink = "gulpo_sink";
    static constexpr const char* kMonitor = "gulpo_sink.monitor";

    // Throws std::runtime_error, with the server's log, if it does not take
    // connections within 10 s.
    explicit PulseServer(const std::string& dir);

    // "unix:" and the socket's path, for PULSE_SERVER.
    std::string address() const { return "unix:" + dir_ + "/runtime/native"; }

  private:
    std::string dir_;
};

}  // namespace sessions
