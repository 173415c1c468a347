#include "sessions/xvfb_game.h"

#include <sstream>

#include "playfield/layout.h"
#include "sessions/files.h"

namespace sessions {

namespace {

using Clock = std::chrono::steady_clock;

constexpr Millis kWindowShows{10000};
constexpr Millis kXdotoolRuns{5000};

// Qt's one line when no runtime directory is set; harmless.
constexpr const char* kHarmlessWarning = "QStandardPaths: XDG_RUNTIME_DIR not set";

}  // namespace

XvfbGame::XvfbGame(XvfbGameOptions options)
    : options_(std::move(options)),
      screen_(artifactPath("window_" + options_.name + ".xvfb.log")),
      client_(screen_.display()) {
    if (!options_.windowManagerDir.empty()) {
        bus_.emplace(sessionBus(options_.windowManagerDir));
        windowManager_.emplace(windowManager(client_, display(), options_.windowManagerDir));
    }
}

XvfbGame::~XvfbGame() {
    if (program_) {
        program_->stop();
    }
}

std::string XvfbGame::artifact(const std::string& suffix) const {
    return artifactPath("window_" + options_.name + suffix);
}

bool XvfbGame::launch() {
    if (program_) {
        program_->stop();
        program_.reset();
    }
    std::vector<std::string> environment{"DISPLAY=" + screen_.display(), "QT_QPA_PLATFORM=xcb"};
    environment.insert(environment.end(), options_.environment.begin(), options_.environment.end());
    main_ = 0;
    launchedAt_ = Clock::now();
    std::vector<std::string> argv{options_.program};
    argv.insert(argv.end(), options_.arguments.begin(), options_.arguments.end());
    program_.emplace(argv, environment, artifact(".gulpo.out.log"), -1, artifact(".gulpo.err.log"));
    main_ = client_.findTopLevel("Gulpo", kWindowShows);
    if (main_ == 0) {
        return false;
    }
    return !options_.mainWindowSize ||
           client_.resize(main_, *options_.mainWindowSize, Millis(3000));
}

pid_t XvfbGame::pid() const {
    return program_ ? program_->pid() : -1;
}

platform::TwipsMapping XvfbGame::mapping() {
    const WindowSize size = client_.size(main_).value_or(WindowSize{});
    return platform::TwipsMapping::fit(playfield::kClientWidth, playfield::kClientHeight,
                                       size.width, size.height);
}

std::optional<ExitStatus> XvfbGame::exitStatus() {
    return waitForEnd(Millis(0));
}

std::optional<ExitStatus> XvfbGame::waitForEnd(Millis timeout) {
    if (!program_) {
        return std::nullopt;
    }
    return program_->waitFor(timeout);
}

std::string XvfbGame::state() {
    std::ostringstream s;
    if (!program_) {
        s << "gulpo was not started";
    } else if (auto status = exitStatus()) {
        s << "gulpo " << status->describe();
    } else {
        s << "gulpo is still running";
    }
    const std::string out = readFile(artifact(".gulpo.out.log"));
    const std::string err = errorOutput();
    if (!out.empty()) {
        s << "; its output:\n" << out;
    }
    if (!err.empty()) {
        s << "; its error output:\n" << err;
    }
    return s.str();
}

std::string XvfbGame::errorOutput() const {
    return readFile(artifact(".gulpo.err.log"));
}

std::vector<std::string> XvfbGame::unexpectedErrorLines() const {
    std::vector<std::string> lines;
    std::istringstream in(errorOutput());
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.rfind(kHarmlessWarning, 0) != 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

ExitStatus XvfbGame::xdotool(const std::vector<std::string>& args) {
    if (std::string(GULPO_XDOTOOL).empty()) {
        ExitStatus missing;
        missing.exited = true;
        missing.code = 127;
        return missing;
    }
    std::vector<std::string> argv{GULPO_XDOTOOL};
    argv.insert(argv.end(), args.begin(), args.end());
    return runToCompletion(argv, screen_.display(), kXdotoolRuns);
}

ExitStatus XvfbGame::press(const std::string& keys) {
    return xdotool({"key", keys});
}

std::string XvfbGame::keep(const Screenshot& shot, const std::string& what) const {
    const std::string path = artifact("_" + what + ".png");
    return savePng(shot, path) ? path : "";
}

std::optional<Millis> XvfbGame::closeAndTimeTheEnd(XWindowId window, Millis timeout) {
    client_.askToClose(window);
    const auto asked = Clock::now();
    if (!pollUntil([&] { return exitStatus().has_value(); }, timeout, Millis(1))) {
        return std::nullopt;
    }
    return std::chrono::duration_cast<Millis>(Clock::now() - asked);
}

}  // namespace sessions
