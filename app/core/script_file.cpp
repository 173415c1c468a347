#include "app/core/script_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "app/core/shown_text.h"

namespace core {

namespace {

// Closes the script's descriptor however reading ends; standard input is
// left open.
class ScriptDescriptor {
  public:
    ScriptDescriptor(int fd, bool standardInput) : fd_(fd), standardInput_(standardInput) {}
    ~ScriptDescriptor() {
        if (!standardInput_) {
            ::close(fd_);
        }
    }
    ScriptDescriptor(const ScriptDescriptor&) = delete;
    ScriptDescriptor& operator=(const ScriptDescriptor&) = delete;

  private:
    int fd_;
    bool standardInput_;
};

[[noreturn]] void refuse(const std::string& shownName, const std::string& why) {
    throw ScriptError(shownName + ": " + why);
}

}  // namespace

std::string shownScriptName(const std::string& path) {
    return path == "-" ? "<stdin>" : escaped(path);
}

Script readScriptFile(const std::string& path) {
    const bool standardInput = path == "-";
    const std::string shownName = shownScriptName(path);
    const int fd = standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        refuse(shownName, std::string("cannot open: ") + std::strerror(errno));
    }
    const ScriptDescriptor script(fd, standardInput);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        refuse(shownName, std::string("cannot read: ") + std::strerror(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        refuse(shownName, "is a directory, not a script");
    }
    if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode) && !S_ISCHR(info.st_mode) &&
        !S_ISSOCK(info.st_mode)) {
        refuse(shownName, "is neither a file nor a stream, not a script");
    }
    ScriptReader reader(shownName);
    std::vector<char> block(1 << 16);
    for (;;) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            refuse(shownName, std::string("cannot read: ") + std::strerror(errno));
        }
        if (got == 0) {
            return reader.finish();
        }
        reader.feed(std::string_view(block.data(), static_cast<std::size_t>(got)));
    }
}

}  // namespace core
