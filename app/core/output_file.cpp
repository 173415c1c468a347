#include "app/core/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/core/cut_short.h"
#include "app/core/shown_text.h"
#include "app/core/standard_streams.h"

namespace core {

OutputFile::OutputFile(std::string path, std::string what, Kind kind)
    : path_(std::move(path)),
      shownName_(path_.empty() ? "standard output" : escaped(path_)),
      what_(std::move(what)),
      kind_(kind) {}

OutputFile::~OutputFile() {
    // Standard output stays open.
    if (!path_.empty() && fd_ >= 0) {
        ::close(fd_);
    }
    if (opened_) {
        completed(path_);
    }
}

std::string OutputFile::cannot(std::string_view doing, int error) const {
    return shownName_ + ": " + std::string(doing) + " " + what_ + ": " + std::strerror(error);
}

std::string OutputFile::check() {
    if (path_.empty()) {
        // A closed standard output loses everything: say so before the run.
        if (closedAtStart(STDOUT_FILENO)) {
            error_ = cannot("cannot write", EBADF);
        }
        return error_;
    }
    // Opened as it is, not emptied: whatever fails later, it is still whole.
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC | (kind_ == Kind::lines ? O_APPEND : 0));
    if (fd_ < 0 && errno == ENOENT) {
        // A new file: its folder must take it.
        const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
        if (::faccessat(AT_FDCWD, folder.empty() ? "." : folder.c_str(), W_OK | X_OK, AT_EACCESS) ==
            0) {
            return error_;
        }
    }
    if (fd_ < 0) {
        error_ = cannot("cannot write", errno);
    }
    return error_;
}

bool OutputFile::open() {
    if (!good()) {
        return false;
    }
    if (path_.empty()) {
        fd_ = STDOUT_FILENO;
    } else if (fd_ < 0) {
        fd_ = ::open(
            path_.c_str(),
            O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (kind_ == Kind::lines ? O_APPEND : 0), 0666);
        if (fd_ < 0) {
            error_ = cannot("cannot write", errno);
            return false;
        }
    }
    struct stat info {};
    regularFile_ = !path_.empty() && ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode);
    if (regularFile_ && ::ftruncate(fd_, 0) != 0) {
        error_ = cannot("cannot empty", errno);
        return false;
    }
    opened_ = true;
    if (kind_ == Kind::lines) {
        keptIfCutShort(path_, what_.c_str());
    } else {
        removeIfCutShort(path_, what_.c_str());
    }
    return true;
}

void OutputFile::write(std::string_view bytes) {
    const auto size = static_cast<long long>(bytes.size());
    while (opened_ && good() && !bytes.empty()) {
        const ssize_t put = ::write(fd_, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put < 0) {
            lost("cannot write", errno);
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    if (opened_ && good()) {
        whole_ += size;
    }
}

bool OutputFile::finish() {
    if (opened_ && !path_.empty() && fd_ >= 0) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 && good()) {
            lost("cannot close", errno);
        }
    }
    if (opened_) {
        completed(path_);
        opened_ = false;
    }
    return good();
}

std::string OutputFile::stopped() const {
    return what_ + " stopped: " + reason_;
}

void OutputFile::lost(std::string_view doing, int error) {
    reason_ = std::strerror(error);
    error_ = cannot(doing, error);
    if (kind_ == Kind::lines) {
        // Half a line would spoil the whole file for a reader.
        if (fd_ >= 0 && regularFile_ && ::ftruncate(fd_, whole_) != 0) {
            error_ += "; it could not be cut back to its last whole line: " +
                      std::string(std::strerror(errno));
        } else if (fd_ >= 0 && regularFile_) {
            error_ += "; it is kept up to its last whole line, and nothing more is written to it";
        } else {
            error_ += "; nothing more is written to it";
        }
    } else {
        // A trace or summary cut short must never look complete.
        if (!regularFile_) {
            error_ += "; " + what_ + " is incomplete";
        } else if (::unlink(path_.c_str()) != 0) {
            error_ +=
                "; " + what_ + " is incomplete and could not be removed: " + std::strerror(errno);
        } else {
            error_ += "; the incomplete file was removed";
            completed(path_);
        }
    }
    if (onLost) {
        onLost(error_);
    }
}

}  // namespace core
