#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/window/x_session.h"

namespace server_test {

using window_test::Millis;

// A private headless Weston compositor: its output is memory drawn by the
// CPU, it has no input devices, and it logs every Wayland request and event
// it sees. Its screenshooter is on, so that the test can see what it shows.
class WestonSession {
  public:
    // Starts the compositor with its runtime folder under `dir`, an output
    // of `width` by `height` logical pixels at the given scale; throws
    // std::runtime_error, with its log, if it does not take clients within
    // 10 s.
    WestonSession(const std::string& westonPath, const std::string& dir, int width, int height,
                  int scale);

    // Runs `argv` as a client of the compositor, with `extraEnv`
    // ("NAME=value") added to its environment and its output in `logPath`;
    // `keepFd` stays open in it.
    std::unique_ptr<window_test::ChildProcess> startClient(
        const std::vector<std::string>& argv, const std::string& logPath, int keepFd = -1,
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
    window_test::Screenshot screenshot(const std::string& screenshooterPath) const;

  private:
    std::vector<std::string> clientEnv() const;

    std::string dir_;
    std::string runtime_;
    std::string socket_;
    std::string log_;
    std::optional<window_test::ChildProcess> compositor_;
};

}  // namespace server_test
