#include "tests/servers/weston_session.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tests/servers/serving.h"
#include "tests/window/artifact.h"

namespace server_test {

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kSocketName = "gulpo-wayland";

}  // namespace

WestonSession::WestonSession(const std::string& westonPath, const std::string& dir, int width,
                             int height, int scale)
    : dir_(dir), runtime_(dir + "/runtime"), log_(dir + "/weston.log") {
    ::mkdir(runtime_.c_str(), 0700);
    socket_ = runtime_ + "/" + kSocketName;
    compositor_.emplace(
        std::vector<std::string>{
            westonPath, "--backend=headless-backend.so", "--use-pixman",
            "--width=" + std::to_string(width), "--height=" + std::to_string(height),
            "--scale=" + std::to_string(scale), std::string("--socket=") + kSocketName,
            "--idle-time=0", "--no-config",
            // The screenshooter answers only in debug mode.
            "--debug", "--log=" + log_, "--logger-scopes=log,proto"},
        std::vector<std::string>{"XDG_RUNTIME_DIR=" + runtime_}, dir + "/weston.out.log");
    waitUntilServing(*compositor_, "weston", socket_, log_);
}

std::vector<std::string> WestonSession::clientEnv() const {
    return {"XDG_RUNTIME_DIR=" + runtime_, std::string("WAYLAND_DISPLAY=") + kSocketName,
            "QT_QPA_PLATFORM=wayland"};
}

std::unique_ptr<window_test::ChildProcess> WestonSession::startClient(
    const std::vector<std::string>& argv, const std::string& logPath, int keepFd,
    const std::vector<std::string>& extraEnv) const {
    std::vector<std::string> env = clientEnv();
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    return std::make_unique<window_test::ChildProcess>(argv, env, logPath, keepFd);
}

std::string WestonSession::log() const {
    return window_test::readFile(log_);
}

std::string WestonSession::clientProtocol(const std::string& text) const {
    // Lines read "[time][proto] client 0x... rq interface@id.request(...)".
    std::istringstream lines(log());
    std::vector<std::string> all;
    std::string client;
    for (std::string line; std::getline(lines, line);) {
        all.push_back(line);
        const auto at = line.find("[proto] client ");
        if (client.empty() && at != std::string::npos && line.find(text) != std::string::npos) {
            const auto start = at + std::strlen("[proto] ");
            client = line.substr(start, line.find(' ', start + 7) - start);
        }
    }
    std::string found;
    if (client.empty()) {
        return found;
    }
    for (const std::string& line : all) {
        if (line.find("[proto] " + client + " ") != std::string::npos) {
            found += line + "\n";
        }
    }
    return found;
}

bool WestonSession::waitForLog(const std::string& text, Millis timeout) const {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (log().find(text) != std::string::npos) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

window_test::Screenshot WestonSession::screenshot(const std::string& screenshooterPath) const {
    namespace fs = std::filesystem;
    // The screenshooter writes its picture into its working folder.
    const fs::path folder = fs::path(dir_) / "screenshots";
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder, ignored);
    auto shooter = startClient(
        {"/bin/sh", "-c", "cd \"$0\" && exec \"$1\"", folder.string(), screenshooterPath},
        dir_ + "/screenshooter.log");
    window_test::Screenshot shot;
    const auto status = shooter->waitFor(Millis(10000));
    if (!status || !status->exited || status->code != 0) {
        return shot;
    }
    for (const auto& entry : fs::directory_iterator(folder, ignored)) {
        shot = window_test::loadPng(entry.path().string());
        if (!shot.empty()) {
            break;
        }
    }
    return shot;
}

}  // namespace server_test
