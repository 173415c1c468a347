#include "tests/support/replay_tool.h"

#include <chrono>
#include <fstream>
#include <optional>
#include <string>

#include "sessions/process.h"

namespace gulpo_test {

namespace {

// No run of the tool takes minutes, even sanitized: one that does has hung.
constexpr std::chrono::minutes kLongestRun{5};

}  // namespace

std::string ReplayTool::write(const std::string& name, const std::string& text) {
    std::string path = dir_ + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

ToolRun ReplayTool::shell(const std::string& commandLine) {
    const std::string out = dir_ + "/out";
    const std::string err = dir_ + "/err";
    sessions::ChildProcess sh({"/bin/sh", "-c", commandLine},
                              {std::string("REPLAY=") + GULPO_REPLAY_BINARY}, out, -1, err);
    const std::optional<sessions::ExitStatus> ended = sh.waitFor(kLongestRun);
    const sessions::ExitStatus status = ended ? *ended : sh.stop();
    ToolRun r;
    r.status = status.exited ? status.code : -1;
    r.out = sessions::readFile(out);
    r.err = sessions::readFile(err);
    if (!ended) {
        r.err += "\n(the shell was stopped after " + std::to_string(kLongestRun.count()) +
                 " minutes: " + status.describe() + ")";
    }
    return r;
}

ToolRun ReplayTool::run(const std::string& args, const std::string& output) {
    return shell("\"$REPLAY\" " + args + (output.empty() ? "" : " " + output));
}

}  // namespace gulpo_test
