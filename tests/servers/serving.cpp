#include "tests/servers/serving.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace server_test {

namespace {

bool acceptsConnections(const std::string& socketPath) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

void waitUntilServing(window_test::ChildProcess& server, const std::string& name,
                      const std::string& socketPath, const std::string& logPath) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!acceptsConnections(socketPath)) {
        if (server.waitFor(window_test::Millis(0)) ||
            std::chrono::steady_clock::now() >= deadline) {
            server.stop(window_test::Millis(500));
            std::string message = name;
            message += " did not take connections on " + socketPath + "; its log says:\n";
            message += window_test::readFile(logPath);
            throw std::runtime_error(message);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace server_test
