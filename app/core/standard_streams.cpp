#include "app/core/standard_streams.h"

#include <fcntl.h>

#include <array>

namespace core {

namespace {

std::array<bool, 3> closed{};

}  // namespace

void openClosedStandardStreams() {
    for (int fd = 0; fd < 3; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0) {
            closed[fd] = true;
            // The lowest free descriptor: this one, as those below are open.
            ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        }
    }
}

bool closedAtStart(int fd) {
    return fd >= 0 && fd < 3 && closed[fd];
}

}  // namespace core
