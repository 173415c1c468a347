#include "sessions/weston_server.h"

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <sstream>

#include "sessions/files.h"

namespace sessions {

namespace {

constexpr const char* kSocketName = "gulpo-wayland";

ServerStart weston(const std::string& runtime, const std::string& log, int width, int height,
                   int scale) {
    ::mkdir(runtime.c_str(), 0700);
    return {"weston",
            {GULPO_WESTON, "--backend=headless-backend.so", "--use-pixman",
             "--width=" + std::to_string(width), "--height=" + std::to_string(height),
             "--scale=" + std::to_string(scale), std::string("--socket=") + kSocketName,
             "--idle-time=0", "--no-config",
             // The screenshooter answers only in debug mode.
             "--debug", "--logger-scopes=log,proto"},
            {"XDG_RUNTIME_DIR=" + runtime},
            log,
            servingOn(runtime + "/" + kSocketName)};
}

}  // namespace

bool westonInstalled() {
    return *GULPO_WESTON != '\0' && *GULPO_SCREENSHOOTER != '\0';
}

WestonServer::WestonServer(const std::string& dir, int width, int height, int scale)
    : dir_(dir),
      runtime_(dir + "/runtime"),
      compositor_(weston(runtime_, dir + "/weston.log", width, height, scale)) {}

std::unique_ptr<ChildProcess> WestonServer::startClient(
    const std::vector<std::string>& argv, const std::string& logPath,
    const std::vector<std::string>& extraEnv) const {
    std::vector<std::string> env{"XDG_RUNTIME_DIR=" + runtime_,
                                 std::string("WAYLAND_DISPLAY=") + kSocketName,
                                 "QT_QPA_PLATFORM=wayland"};
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    return std::make_unique<ChildProcess>(argv, env, logPath);
}

std::string WestonServer::log() const {
    return readFile(dir_ + "/weston.log");
}

std::string WestonServer::clientProtocol(const std::string& text) const {
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

bool WestonServer::waitForLog(const std::string& text, Millis timeout) const {
    return pollUntil([&] { return log().find(text) != std::string::npos; }, timeout, Millis(20));
}

Screenshot WestonServer::screenshot() const {
    namespace fs = std::filesystem;
    // The screenshooter writes its picture into its working folder.
    const fs::path folder = fs::path(dir_) / "screenshots";
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder, ignored);
    auto shooter = startClient(
        {"/bin/sh", "-c", "cd \"$0\" && exec \"$1\"", folder.string(), GULPO_SCREENSHOOTER},
        dir_ + "/screenshooter.log");
    Screenshot shot;
    const auto status = shooter->waitFor(Millis(10000));
    if (!status || !status->exited || status->code != 0) {
        return shot;
    }
    for (const auto& entry : fs::directory_iterator(folder, ignored)) {
        shot = loadPng(entry.path().string());
        if (!shot.empty()) {
            break;
        }
    }
    return shot;
}

}  // namespace sessions
