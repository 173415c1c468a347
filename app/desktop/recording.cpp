#include "app/desktop/recording.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "app/core/program.h"
#include "app/core/shown_text.h"

namespace desktop {

Recording::Recording(std::string path) : path_(std::move(path)) {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        error_ = "cannot write the recording " + core::quoted(path_) + ": " + std::strerror(errno);
        return;
    }
    put(core::recordingHeader(std::time(nullptr)));
}

Recording::~Recording() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void Recording::take(std::string_view line) {
    if (fd_ >= 0 && error_.empty()) {
        put(line);
    }
}

bool Recording::put(std::string_view line) {
    // One write a line: the file never holds half a line while the game goes on.
    const ssize_t written = ::write(fd_, line.data(), line.size());
    if (written == static_cast<ssize_t>(line.size())) {
        return true;
    }
    error_ = "cannot write the recording " + core::quoted(path_) + ": " +
             (written < 0 ? std::strerror(errno) : "the disk took only part of a line");
    std::fprintf(stderr, "gulpo: %s; the game goes on unrecorded\n", error_.c_str());
    return false;
}

}  // namespace desktop
