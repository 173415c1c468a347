#include "app/core/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/core/shown_text.h"

namespace core {

OutputFile::OutputFile(std::string path, std::string what)
    : path_(std::move(path)),
      shownName_(path_.empty() ? "standard output" : escaped(path_)),
      what_(std::move(what)) {
    if (path_.empty()) {
        fd_ = STDOUT_FILENO;
        // A closed standard output loses everything: say so before the run.
        if (::fcntl(fd_, F_GETFD) < 0) {
            failed("cannot write", errno);
            return;
        }
        opened_ = true;
        return;
    }
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        failed("cannot write", errno);
        return;
    }
    opened_ = true;
    struct stat info {};
    regularFile_ = ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode);
}

OutputFile::~OutputFile() {
    // Standard output stays open; a named file may have been given any
    // descriptor, 1 among them when standard output was closed.
    if (!path_.empty() && fd_ >= 0) {
        ::close(fd_);
    }
}

void OutputFile::failed(std::string_view doing, int error) {
    if (error_.empty()) {
        error_ = shownName_ + ": " + std::string(doing) + " " + what_ + ": " + std::strerror(error);
    }
}

void OutputFile::write(std::string_view bytes) {
    while (good() && !bytes.empty()) {
        const ssize_t put = ::write(fd_, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put < 0) {
            failed("cannot write", errno);
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
}

std::string OutputFile::finish() {
    if (!path_.empty() && fd_ >= 0) {
        if (::close(fd_) != 0) {
            failed("cannot close", errno);
        }
        fd_ = -1;
    }
    if (good() || !opened_) {
        return error_;
    }
    if (!regularFile_) {
        return error_ + "; " + what_ + " is incomplete";
    }
    if (::unlink(path_.c_str()) != 0) {
        return error_ + "; " + what_ +
               " is incomplete and could not be removed: " + std::strerror(errno);
    }
    return error_ + "; the incomplete file was removed";
}

}  // namespace core
