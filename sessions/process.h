#pragma once

// The programs and servers a session runs for itself: each a child process
// with an environment of its own and its output in a log, which dies with
// the process that started it.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace sessions {

using Millis = std::chrono::milliseconds;

// Polls `done` every `step` until it holds or `timeout` has passed; whether
// it held.
template <typename Done>
bool pollUntil(Done done, Millis timeout, Millis step = Millis(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(step);
    }
}

// How a child process ended.
struct ExitStatus {
    bool exited = false;  // it returned from main or called exit()
    int code = -1;        // its exit code, when it exited
    int signal = 0;       // the signal that ended it, when it did not
    std::string describe() const;
};

// A child process, with this process's environment minus any display
// settings, plus `extraEnv` ("NAME=value", each replacing any inherited value
// of the same name). Its output goes to `logPath`; its error output too,
// unless `errorLogPath` names a file of its own. `keepFd`, if not -1, stays
// open in the child. It is killed, if still running, when destroyed, and it
// dies with the process that started it.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
                 const std::string& logPath, int keepFd = -1, const std::string& errorLogPath = "");
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    pid_t pid() const { return pid_; }
    // Its status once it has ended; polls until `timeout` has passed.
    std::optional<ExitStatus> waitFor(Millis timeout);
    // SIGTERM, then SIGKILL if it has not ended within `grace`.
    ExitStatus stop(Millis grace = Millis(2000));

  private:
    pid_t pid_ = -1;
    std::optional<ExitStatus> status_;
};

// Runs `argv` to completion (at most `timeout`, then it is killed) on
// `display` and returns how it ended.
ExitStatus runToCompletion(const std::vector<std::string>& argv, const std::string& display,
                           Millis timeout);

// How to start a server and tell that it serves.
struct ServerStart {
    std::string name;                      // names it in messages
    std::vector<std::string> argv;         // the program and its arguments
    std::vector<std::string> environment;  // "NAME=value" settings of its own
    std::string log;                       // its output, shown when it does not come up
    std::function<bool()> ready;           // holds once it serves; none: at once
    int keepFd = -1;                       // a file that stays open in it
};

// Ready once the Unix socket at `socketPath` takes connections.
std::function<bool()> servingOn(const std::string& socketPath);

// A server of the session's own (Xvfb, Weston, PulseAudio, a D-Bus bus): a
// child process that is ready once constructed and killed when destroyed;
// stop() ends it sooner, SIGSTOP and SIGCONT to its pid() hang it.
class Server : public ChildProcess {
  public:
    // Starts the server and polls until it is ready; throws
    // std::runtime_error, with its log, if it ends first or is not ready
    // within 10 s.
    explicit Server(const ServerStart& start);
};

// A D-Bus session bus of its own at `dir`/bus, for busAddress(dir).
ServerStart sessionBus(const std::string& dir);
std::string busAddress(const std::string& dir);

}  // namespace sessions
