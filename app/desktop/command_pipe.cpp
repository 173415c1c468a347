#include "app/desktop/command_pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace desktop {

CommandPipe::CommandPipe(const std::string& commandsPath, const std::string& repliesPath) {
    // Open for writing too (Linux allows it on a pipe): the open does not
    // wait for the test, and a read never takes "no writer yet" for an end.
    commands_ = ::open(commandsPath.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (commands_ < 0) {
        throw std::runtime_error("cannot open " + commandsPath + ": " + std::strerror(errno));
    }
    replies_ = ::open(repliesPath.c_str(), O_WRONLY | O_CLOEXEC);
    if (replies_ < 0) {
        const int err = errno;
        ::close(commands_);
        throw std::runtime_error("cannot open " + repliesPath + ": " + std::strerror(err));
    }
}

CommandPipe::~CommandPipe() {
    ::close(commands_);
    ::close(replies_);
}

bool CommandPipe::fill() {
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(commands_, buffer, sizeof buffer);
        if (n > 0) {
            pending_.append(buffer, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // n == 0 is the writer gone; EAGAIN is nothing more for now.
        return !(n == 0);
    }
}

std::optional<std::string> CommandPipe::nextLine() {
    if (pending_.find('\n') == std::string::npos && !closed_) {
        closed_ = !fill();
    }
    const auto end = pending_.find('\n');
    if (end == std::string::npos) {
        return std::nullopt;
    }
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return line;
}

void CommandPipe::reply(const std::string& line) {
    const std::string out = line + "\n";
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::write(replies_, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;  // the test has gone; nobody is listening
        }
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace desktop
