#include "app/core/cut_short.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace core {

namespace {

// Everything the handler reads is set up beforehand in fixed storage, and
// the handler calls only what a signal handler may (unlink, write, raise).
struct Output {
    std::array<char, 4096> path{};
    std::array<char, 4096> shown{};
    const char* what = nullptr;
    bool regularFile = false;
    bool kept = false;
    volatile std::sig_atomic_t inUse = 0;
};

std::array<Output, 4> outputs;
const char* programName = "gulpo";

constexpr std::array<int, 4> kSignals = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

void say(const char* text) {
    const std::size_t length = std::strlen(text);
    // Nothing more can be done for a message that cannot be written.
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text, length);
}

const char* signalName(int signal) {
    switch (signal) {
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        case SIGHUP:
            return "SIGHUP";
        default:
            return "SIGPIPE";
    }
}

// Says what cut the program short and what became of each file it was
// writing, removing those that would look complete.
void dealWithOutputs(const char* cause, const char* which = "") {
    say(programName);
    say(": ");
    say(cause);
    say(which);
    for (Output& o : outputs) {
        if (o.inUse == 0) {
            continue;
        }
        say("; ");
        say(o.what);
        say(" ");
        say(o.shown.data());
        if (o.kept) {
            say(" is kept up to its last line");
        } else if (o.regularFile && ::unlink(o.path.data()) == 0) {
            say(" was incomplete and is removed");
        } else {
            say(" is incomplete");
        }
    }
    say("\n");
}

void onSignal(int signal) {
    dealWithOutputs("stopped by ", signalName(signal));
    // The handler was reset on entry: the signal, raised again, ends the
    // program with its own status once the handler returns.
    ::raise(signal);
}

// What ends the program if something calls exit() before main returns.
const char* exitCause = nullptr;
int exitStatus = 0;

void onExit() {
    if (exitCause != nullptr) {
        endCutShort(exitCause, exitStatus);
    }
}

void enlist(const std::string& path, const char* what, bool kept) {
    for (Output& o : outputs) {
        if (o.inUse != 0) {
            continue;
        }
        const std::string shown = path.empty() ? "on standard output" : "'" + path + "'";
        std::strncpy(o.shown.data(), shown.c_str(), o.shown.size() - 1);
        std::strncpy(o.path.data(), path.c_str(), o.path.size() - 1);
        struct stat info {};
        o.regularFile = !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
        o.what = what;
        o.kept = kept;
        o.inUse = 1;
        return;
    }
}

}  // namespace

void endCutShortOnSignals(const char* program) {
    programName = program;
    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (const int s : kSignals) {
        sigaddset(&action.sa_mask, s);
    }
    for (const int s : kSignals) {
        // A signal the program was started with ignored (nohup) stays so.
        struct sigaction before {};
        if (::sigaction(s, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) {
            continue;
        }
        ::sigaction(s, &action, nullptr);
    }
    // A file size limit is one more full disk: the write that reaches it
    // fails (EFBIG) and is dealt with as any failed write is.
    ::signal(SIGXFSZ, SIG_IGN);
}

void endCutShort(const char* cause, int status) {
    dealWithOutputs(cause);
    ::_exit(status);
}

void cutShortOnExit(const char* cause, int status) {
    exitStatus = status;
    exitCause = cause;
    static const bool registered = std::atexit(onExit) == 0;
    (void)registered;
}

void exitsAsPlanned() {
    exitCause = nullptr;
}

void removeIfCutShort(const std::string& path, const char* what) {
    enlist(path, what, false);
}

void keptIfCutShort(const std::string& path, const char* what) {
    enlist(path, what, true);
}

void completed(const std::string& path) {
    for (Output& o : outputs) {
        if (o.inUse != 0 && path == o.path.data()) {
            o.inUse = 0;
        }
    }
}

}  // namespace core
