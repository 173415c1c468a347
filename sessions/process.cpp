#include "sessions/process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include "sessions/files.h"

namespace sessions {

namespace {

constexpr Millis kServerComesUp{10000};

ExitStatus statusOf(int raw) {
    ExitStatus s;
    if (WIFEXITED(raw)) {
        s.exited = true;
        s.code = WEXITSTATUS(raw);
    } else if (WIFSIGNALED(raw)) {
        s.signal = WTERMSIG(raw);
    }
    return s;
}

// "NAME=" of a "NAME=value" entry.
std::string_view nameOf(std::string_view entry) {
    return entry.substr(0, entry.find('=') + 1);
}

// The starter's own display settings never reach a child: it gets its
// display from `extraEnv` or has none.
bool inherited(std::string_view entry, const std::vector<std::string>& extraEnv) {
    const std::string_view name = nameOf(entry);
    for (std::string_view display : {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="}) {
        if (name == display) {
            return false;
        }
    }
    for (const std::string& e : extraEnv) {
        if (nameOf(e) == name) {
            return false;
        }
    }
    return true;
}

// What execve takes: pointers to the strings, then a null.
std::vector<char*> nullTerminated(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

void closeIfOpen(int fd) {
    if (fd >= 0) {
        ::close(fd);
    }
}

}  // namespace

std::string ExitStatus::describe() const {
    std::ostringstream s;
    if (exited) {
        s << "exited with status " << code;
    } else if (signal != 0) {
        s << "killed by signal " << signal << " (" << strsignal(signal) << ")";
    } else {
        s << "ended in an unknown way";
    }
    return s.str();
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& extraEnv, const std::string& logPath,
                           int keepFd, const std::string& errorLogPath) {
    if (argv.empty()) {
        throw std::invalid_argument("no program to run");
    }
    // Everything the child needs is built before fork: only async-signal-safe
    // calls run between fork and exec.
    std::vector<std::string> envStore;
    for (char** e = environ; *e != nullptr; ++e) {
        if (inherited(*e, extraEnv)) {
            envStore.emplace_back(*e);
        }
    }
    envStore.insert(envStore.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp = nullTerminated(envStore);
    std::vector<std::string> argStore = argv;
    std::vector<char*> args = nullTerminated(argStore);

    const int log = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int errorLog =
        errorLogPath.empty()
            ? -1
            : ::open(errorLogPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    const int forkError = errno;
    if (pid_ != 0) {
        // The parent keeps none of the child's files.
        for (int fd : {log, errorLog, devNull}) {
            closeIfOpen(fd);
        }
    }
    if (pid_ < 0) {
        throw std::runtime_error(std::string("fork failed: ") + std::strerror(forkError));
    }
    if (pid_ == 0) {
        // Dies with its starter, so that no server or program outlives it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) {
            ::_exit(127);
        }
        if (devNull >= 0) {
            ::dup2(devNull, STDIN_FILENO);
        }
        if (log >= 0) {
            ::dup2(log, STDOUT_FILENO);
            ::dup2(log, STDERR_FILENO);
        }
        if (errorLog >= 0) {
            ::dup2(errorLog, STDERR_FILENO);
        }
        if (keepFd >= 0) {
            ::fcntl(keepFd, F_SETFD, 0);
        }
        ::execve(args[0], args.data(), envp.data());
        ::_exit(127);
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !status_) {
        ::kill(pid_, SIGKILL);
        int raw = 0;
        ::waitpid(pid_, &raw, 0);
    }
}

std::optional<ExitStatus> ChildProcess::waitFor(Millis timeout) {
    if (status_) {
        return status_;
    }
    pollUntil(
        [&] {
            int raw = 0;
            const pid_t r = ::waitpid(pid_, &raw, WNOHANG);
            if (r == pid_) {
                status_ = statusOf(raw);
            } else if (r < 0 && errno != EINTR) {
                status_ = ExitStatus{};
            }
            return status_.has_value();
        },
        timeout);
    return status_;
}

ExitStatus ChildProcess::stop(Millis grace) {
    if (status_) {
        return *status_;
    }
    ::kill(pid_, SIGTERM);
    if (auto s = waitFor(grace)) {
        return *s;
    }
    ::kill(pid_, SIGKILL);
    int raw = 0;
    ::waitpid(pid_, &raw, 0);
    status_ = statusOf(raw);
    return *status_;
}

ExitStatus runToCompletion(const std::vector<std::string>& argv, const std::string& display,
                           Millis timeout) {
    ChildProcess child(argv, {"DISPLAY=" + display}, "/dev/null");
    if (auto s = child.waitFor(timeout)) {
        return *s;
    }
    return child.stop(Millis(0));
}

std::function<bool()> servingOn(const std::string& socketPath) {
    return [socketPath] {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            return false;
        }
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
        const bool ok =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return ok;
    };
}

Server::Server(const ServerStart& start)
    : ChildProcess(start.argv, start.environment, start.log, start.keepFd) {
    if (!start.ready) {
        return;
    }
    bool ended = false;
    const bool ready = pollUntil(
        [&] {
            ended = waitFor(Millis(0)).has_value();
            return ended || start.ready();
        },
        kServerComesUp);
    if (!ready || ended) {
        stop(Millis(500));
        throw std::runtime_error(start.name + " did not come up; its log says:\n" +
                                 readFile(start.log));
    }
}

ServerStart sessionBus(const std::string& dir) {
    return {"the session bus",
            {GULPO_DBUS_DAEMON, "--session", "--nofork", "--address=" + busAddress(dir)},
            {},
            dir + "/bus.log",
            servingOn(dir + "/bus")};
}

std::string busAddress(const std::string& dir) {
    return "unix:path=" + dir + "/bus";
}

}  // namespace sessions
