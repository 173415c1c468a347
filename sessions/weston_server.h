#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sessions/artifact.h"
#include "sessions/process.h"

namespace sessions {

// Whether this machine has the compositor and its screenshooter.
bool westonInstalled();

// A private headless Weston compositor: its output is memory drawn by the
// CPU, it has no input devices, and it logs every Wayland request and event
// it sees. Its screenshooter is on, so that what it shows can be seen.
class WestonServer {
  public:
    // Starts the compositor with its runtime folder under `dir`, an output
    // of `width` by `height` logical pixels at the given scale; throws
    // std::runtime_error, with its log, if it does not take clients within
    // 10 s.
    WestonServer(const std::string& dir, int width, int height, int scale);

    // Runs `argv` as a client of the compositor, with `extraEnv`
    // ("NAME=value") added to its environment and its output in `logPath`.
    std::unique_ptr<ChildProcess> startClient(const std::vector<std::string>& argv,
                                              const std::string& logPath,
                                              const std::vector<std::string>& extraEnv = {}) const;

    // The compositor's log so far, the protocol among it.
    std::string log() const;
    // The protocol lines of the client that sent a request holding `text`
    // (the first such client), or "".
    std::string clientProtocol(const std::string& text) const;
    // Polls the log until it holds `text`; false if it does not by `timeout`.
    bool waitForLog(const std::string& text, Millis timeout) const;

    // The whole output as the compositor shows it, taken with its
    // screenshooter (empty if none could be taken).
    Screenshot screenshot() const;

  private:
    std::string dir_;
    std::string runtime_;
    Server compositor_;
};

}  // namespace sessions
