#pragma once

#include <optional>
#include <string>

#include "tests/window/x_session.h"

namespace server_test {

// A private PulseAudio sound server whose only sink is a null sink: what
// is played there can be recorded from its monitor, and nothing reaches a
// sound card. Its runtime, state and home folders are under `dir`; clients
// reach it at address().
class PulseServer {
  public:
    static constexpr const char* kSink = "gulpo_sink";
    static constexpr const char* kMonitor = "gulpo_sink.monitor";

    // Throws std::runtime_error, with the server's log, if it does not take
    // connections within 10 s.
    PulseServer(const std::string& pulseaudioPath, const std::string& dir);

    // "unix:" and the socket's path, for PULSE_SERVER.
    const std::string& address() const { return address_; }
    // For the tests that stop or kill it.
    pid_t pid() const { return daemon_->pid(); }

  private:
    std::string address_;
    std::optional<window_test::ChildProcess> daemon_;
};

}  // namespace server_test
