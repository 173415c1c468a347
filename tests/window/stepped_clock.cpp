#include "tests/window/stepped_clock.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace window_test {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

void makePipe(const std::string& path) {
    if (::mkfifo(path.c_str(), 0600) != 0) {
        throw std::runtime_error("cannot make the pipe " + path + ": " + std::strerror(errno));
    }
}

}  // namespace

SteppedClock::SteppedClock(XvfbGame& program, const std::string& dir)
    : xvfb_(program), commandsPath_(dir + "/commands") {
    const std::string replies = dir + "/replies";
    makePipe(commandsPath_);
    makePipe(replies);
    // Held open before the program starts, so that its open does not wait.
    replies_ = ::open(replies.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (replies_ < 0) {
        throw std::runtime_error("cannot open " + replies + ": " + std::strerror(errno));
    }
    std::vector<std::string>& arguments = xvfb_.options().arguments;
    arguments.insert(arguments.end(), {"--stepped", commandsPath_, replies});
}

void SteppedClock::connect() {
    const bool opened = pollUntil(
        [&] {
            commands_ = ::open(commandsPath_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            return commands_ >= 0 || !xvfb_.running();
        },
        milliseconds(10000));
    if (!opened || commands_ < 0) {
        throw std::runtime_error("the stepped program never opened its pipe; " + xvfb_.state());
    }
}

SteppedClock::~SteppedClock() {
    if (commands_ >= 0) {
        ::close(commands_);
    }
    if (replies_ >= 0) {
        ::close(replies_);
    }
}

std::string SteppedClock::reply() {
    const auto deadline = Clock::now() + milliseconds(20000);
    for (;;) {
        const auto end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            throw std::runtime_error("no reply within 20 s; " + xvfb_.state());
        }
        pollfd p{replies_, POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(left.count()));
        char buffer[4096];
        const ssize_t n = ::read(replies_, buffer, sizeof buffer);
        if (n > 0) {
            pending_.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 && !xvfb_.running()) {
            throw std::runtime_error("the program ended before it replied; " + xvfb_.state());
        } else if (n == 0) {
            std::this_thread::sleep_for(milliseconds(5));
        }
    }
}

std::string SteppedClock::ask(const std::string& command) {
    const std::string line = command + "\n";
    if (::write(commands_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        throw std::runtime_error("cannot send '" + command + "': " + std::strerror(errno));
    }
    std::string answer = reply();
    if (answer.rfind("ok ", 0) == 0 && command != "state") {
        now_ = std::atoll(answer.c_str() + 3);
    }
    return answer;
}

std::string SteppedClock::input(const std::string& verbAndArguments) {
    return ask(std::to_string(now_) + " " + verbAndArguments);
}

std::string SteppedClock::state() {
    const std::string r = ask("state");
    return r.rfind("ok ", 0) == 0 ? r.substr(3) : r;
}

bool SteppedClock::resize(WindowSize size) {
    return xvfb_.x().resize(xvfb_.mainWindow(), size, milliseconds(5000));
}

std::optional<WindowSize> SteppedClock::size() {
    return xvfb_.x().size(xvfb_.mainWindow());
}

FrameComparison SteppedClock::compare(const std::string& label) {
    const std::string what = std::to_string(++snaps_) + "_" + label;
    const std::string freshPath =
        artifactPath("window_" + xvfb_.options().name + "_" + what + ".fresh.png");
    // Rendered at the size the screen shows, which a window just resized
    // may not have heard of yet.
    const WindowSize onScreen = size().value_or(WindowSize{});
    const std::string answer = ask("snap " + freshPath + " " + std::to_string(onScreen.width) +
                                   " " + std::to_string(onScreen.height));
    if (answer.rfind("ok", 0) != 0) {
        throw std::runtime_error("snap: " + answer);
    }
    const Screenshot fresh = loadPng(freshPath);
    if (fresh.empty()) {
        throw std::runtime_error("cannot read the fresh rendering " + freshPath);
    }
    FrameComparison c;
    Screenshot shot;
    const auto deadline = Clock::now() + milliseconds(1000);
    for (;;) {
        shot = xvfb_.x().capture(xvfb_.mainWindow());
        c.differing = 0;
        if (shot.width != fresh.width || shot.height != fresh.height) {
            c.differing = -1;
        } else {
            for (int y = 0; y < shot.height; ++y) {
                for (int x = 0; x < shot.width; ++x) {
                    c.differing += shot.at(x, y) != fresh.at(x, y) ? 1 : 0;
                }
            }
        }
        if (c.differing == 0 || Clock::now() >= deadline) {
            break;
        }
        std::this_thread::sleep_for(milliseconds(50));
    }
    c.total = static_cast<long>(shot.width) * shot.height;
    std::ostringstream detail;
    if (c.differing < 0) {
        detail << "the screen holds " << shot.width << "x" << shot.height
               << " pixels, the fresh rendering " << fresh.width << "x" << fresh.height;
    } else if (c.differing > 0) {
        int minX = shot.width;
        int minY = shot.height;
        int maxX = -1;
        int maxY = -1;
        Screenshot map = shot;
        for (int y = 0; y < shot.height; ++y) {
            for (int x = 0; x < shot.width; ++x) {
                const bool differs = shot.at(x, y) != fresh.at(x, y);
                map.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(shot.width) +
                           static_cast<std::size_t>(x)] = differs ? 0xFF00FFu : 0;
                if (differs) {
                    minX = std::min(minX, x);
                    minY = std::min(minY, y);
                    maxX = std::max(maxX, x);
                    maxY = std::max(maxY, y);
                }
            }
        }
        const std::string screenPath = xvfb_.keep(shot, what + ".screen");
        const std::string mapPath = xvfb_.keep(map, what + ".differing");
        detail << c.differing << " of " << c.total << " pixels differ, within x " << minX << ".."
               << maxX << ", y " << minY << ".." << maxY << "; the screen is in " << screenPath
               << ", the fresh rendering in " << freshPath << ", the differing pixels in "
               << mapPath;
    }
    if (c.differing == 0) {
        std::error_code ignored;
        std::filesystem::remove(freshPath, ignored);
    }
    c.detail = detail.str();
    return c;
}

}  // namespace window_test
