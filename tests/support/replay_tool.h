#pragma once

#include <gtest/gtest.h>

#include <string>

#include "sessions/files.h"

namespace gulpo_test {

// What a run of the real gulpo-replay program gave.
struct ToolRun {
    int status = -1;  // the exit status; 128 + N when signal N ended it
    std::string out;
    std::string err;
};

// Runs the real gulpo-replay binary in a scratch folder of its own.
class ReplayTool : public ::testing::Test {
  protected:
    // Writes a file into the scratch folder; returns its path.
    std::string write(const std::string& name, const std::string& text);
    // Runs `gulpo-replay ARGS` through the shell. Its standard output is
    // kept unless `output` redirects it elsewhere (">/dev/full", ">&-").
    ToolRun run(const std::string& args, const std::string& output = "");
    // Runs a shell command line in which $REPLAY names the binary, as a child
    // process of the test's own (sessions/process.h).
    ToolRun shell(const std::string& commandLine);

    sessions::ScratchFolder scratch_{"gulpo-replay-test"};
    const std::string dir_ = scratch_.path();
};

}  // namespace gulpo_test
