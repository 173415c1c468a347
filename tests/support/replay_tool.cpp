#include "tests/support/replay_tool.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

namespace gulpo_test {

std::string ReplayTool::write(const std::string& name, const std::string& text) {
    std::string path = dir_ + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

ToolRun ReplayTool::shell(const std::string& commandLine) {
    const std::string out = dir_ + "/out";
    const std::string err = dir_ + "/err";
    const std::string cmd = "REPLAY='" + std::string(GULPO_REPLAY_BINARY) + "'; { " + commandLine +
                            " ; } >'" + out + "' 2>'" + err + "'";
    ToolRun r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = sessions::readFile(out);
    r.err = sessions::readFile(err);
    return r;
}

ToolRun ReplayTool::run(const std::string& args, const std::string& output) {
    return shell("\"$REPLAY\" " + args + (output.empty() ? "" : " " + output));
}

}  // namespace gulpo_test
