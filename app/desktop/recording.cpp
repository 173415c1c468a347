#include "app/desktop/recording.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "app/replay/session.h"
#include "app/replay/shown_text.h"

namespace desktop {

Recording::Recording(std::string path) : path_(std::move(path)) {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        error_ =
            "cannot write the recording " + replay::quoted(path_) + ": " + std::strerror(errno);
        return;
    }
    char started[64];
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    std::strftime(started, sizeof started, "%Y-%m-%d %H:%M:%S UTC", &utc);
    put("# recorded by gulpo " GULPO_VERSION " on " + std::string(started) +
        "; play it again with gulpo --watch or gulpo-replay");
}

Recording::~Recording() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void Recording::take(const replay::ScriptEvent& e) {
    if (fd_ >= 0 && error_.empty()) {
        put(replay::scriptLineOf(e));
    }
}

bool Recording::put(const std::string& line) {
    const std::string whole = line + "\n";
    // One write a line: the file never holds half a line while the game goes on.
    const ssize_t written = ::write(fd_, whole.data(), whole.size());
    if (written == static_cast<ssize_t>(whole.size())) {
        return true;
    }
    error_ = "cannot write the recording " + replay::quoted(path_) + ": " +
             (written < 0 ? std::strerror(errno) : "the disk took only part of a line");
    std::fprintf(stderr, "gulpo: %s; the game goes on unrecorded\n", error_.c_str());
    return false;
}

}  // namespace desktop
