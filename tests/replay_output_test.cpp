// Where gulpo-replay's results go: a trace that cannot be written is a
// failure said out loud, the figures come as JSON for scripts, and events
// the run never reached are not passed over in silence.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>

#include "sessions/files.h"
#include "tests/support/replay_tool.h"
#include "tests/support/trace_fields.h"

namespace {

using gulpo_test::ReplayTool;
using gulpo_test::ToolRun;
using sessions::readFile;

constexpr const char* kShortGame = "0 click start\n2100 key 37\n9000 end\n";

TEST_F(ReplayTool, ATraceThatCannotBeWrittenFailsTheRunWithTheReason) {
    const std::string script = write("game.txt", kShortGame);
    const std::string full = std::strerror(ENOSPC);

    const ToolRun device = run("--trace /dev/full " + script);
    EXPECT_EQ(device.status, 1);
    EXPECT_NE(
        device.err.find("/dev/full: cannot write the trace: " + full + "; the trace is incomplete"),
        std::string::npos)
        << device.err;

    const ToolRun standardOutput = run(script, ">/dev/full");
    EXPECT_EQ(standardOutput.status, 1);
    EXPECT_NE(standardOutput.err.find("standard output: cannot write the trace: " + full),
              std::string::npos)
        << standardOutput.err;

    const ToolRun closed = run(script, ">&-");
    EXPECT_EQ(closed.status, 1);
    EXPECT_NE(closed.err.find("standard output: cannot write the trace: " +
                              std::string(std::strerror(EBADF))),
              std::string::npos)
        << closed.err;
}

TEST_F(ReplayTool, ATraceFileCutShortIsRemovedNotLeftLookingComplete) {
    const std::string script = write("game.txt", kShortGame);
    const std::string trace = dir_ + "/trace.jsonl";
    // A file size limit of a few blocks cuts the trace off part way; with
    // the signal ignored the write fails with EFBIG instead.
    const ToolRun r =
        shell("trap '' XFSZ; ulimit -f 4; \"$REPLAY\" --trace '" + trace + "' '" + script + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(trace + ": cannot write the trace: " + std::strerror(EFBIG) +
                         "; the incomplete file was removed"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(trace));

    const ToolRun whole = run("--trace '" + trace + "' '" + script + "'");
    EXPECT_EQ(whole.status, 0) << whole.err;
    EXPECT_TRUE(readFile(trace).ends_with("}\n"));
}

TEST_F(ReplayTool, TheSummaryAsJsonGivesTheRunsFigures) {
    const std::string summary = dir_ + "/summary.json";
    const ToolRun r =
        run("--quiet --summary-json '" + summary + "' " + write("game.txt", kShortGame));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string json = readFile(summary);
    ASSERT_TRUE(json.starts_with("{\"virtual_ms\":9000,\"ticks\":")) << json;
    EXPECT_TRUE(json.ends_with(",\"undelivered_events\":0}\n")) << json;
    const int traced = gulpo_test::occurrences(r.out, "\"ev\":\"tick\"");
    EXPECT_GT(traced, 0);
    EXPECT_EQ(gulpo_test::number(json, "ticks"), static_cast<long long>(traced)) << json;
    EXPECT_NE(json.find("\"wall_seconds\":"), std::string::npos) << json;
    EXPECT_NE(json.find("\"ticks_per_wall_second\":"), std::string::npos) << json;

    const ToolRun lost =
        run("--summary-json /dev/full --no-trace " + write("game.txt", kShortGame));
    EXPECT_EQ(lost.status, 1);
    EXPECT_NE(lost.err.find("/dev/full: cannot write the summary: "), std::string::npos)
        << lost.err;

    // A full disk: the summary is removed, never left half written. Its
    // message goes through a pipe, which no file size limit stops.
    const ToolRun cut = shell("(ulimit -f 0; exec \"$REPLAY\" --no-trace --summary-json '" +
                              summary + "' " + dir_ + "/game.txt 2>&1) | cat");
    EXPECT_NE(cut.out.find(summary + ": cannot write the summary: " + std::strerror(EFBIG) +
                           "; the incomplete file was removed"),
              std::string::npos)
        << cut.out;
    EXPECT_FALSE(std::filesystem::exists(summary));
}

// No file serves two jobs, by path or through a link (h.txt to the script,
// l.txt to a trace not yet written): one line, and nothing written.
class OneFileTwice : public ReplayTool, public ::testing::WithParamInterface<const char*> {};

TEST_P(OneFileTwice, IsRefusedAndNothingIsWritten) {
    const std::string script = write("s.txt", kShortGame);
    std::filesystem::create_hard_link(script, dir_ + "/h.txt");
    std::filesystem::create_symlink("t.jsonl", dir_ + "/l.txt");
    const ToolRun r = shell("cd '" + dir_ + "' && \"$REPLAY\" " + GetParam());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(" are one file; give each a file of its own\n"), std::string::npos)
        << r.err;
    EXPECT_EQ(gulpo_test::occurrences(r.err, "\n"), 1) << r.err;
    EXPECT_EQ(readFile(script), kShortGame);
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/t.jsonl"));
}

INSTANTIATE_TEST_SUITE_P(ReplayTool, OneFileTwice,
                         ::testing::Values("--trace s.txt s.txt", "--summary-json ./h.txt s.txt",
                                           "--trace t.jsonl --summary-json l.txt s.txt",
                                           "- <s.txt >>h.txt"));

TEST_F(ReplayTool, HelpGoesToStandardOutput) {
    const ToolRun help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("usage: gulpo-replay")) << help.out;
    EXPECT_NE(help.out.find("--summary-json FILE"), std::string::npos);
    EXPECT_EQ(help.err, "");
}

class OptionWithAValue : public ReplayTool, public ::testing::WithParamInterface<const char*> {};

TEST_P(OptionWithAValue, LeftWithoutOneIsNamed) {
    const ToolRun r = run(GetParam());
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.starts_with(std::string("gulpo-replay: ") + GetParam() + " needs a value"))
        << r.err;
}

INSTANTIATE_TEST_SUITE_P(ReplayTool, OptionWithAValue,
                         ::testing::Values("--until", "--trace", "--summary-json"),
                         [](const ::testing::TestParamInfo<const char*>& p) {
                             std::string name = p.param + 2;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST_F(ReplayTool, EventsPastWhereTheRunStoppedAreNamedInAWarning) {
    const ToolRun late =
        run(write("late.txt", "0 click start\n# later\n700000 key 37\n800000 key 38\n"));
    EXPECT_EQ(late.status, 0);
    EXPECT_NE(late.err.find("warning: " + dir_ +
                            "/late.txt:3: the run stopped at 600000 ms, before this line's time "
                            "700000 ms; 2 events were not delivered"),
              std::string::npos)
        << late.err;
    EXPECT_EQ(late.out.find("\"ev\":\"key\""), std::string::npos);

    const ToolRun cut =
        run("--until 3000 " + write("cut.txt", "0 click start\n5000 key 37\n9000 end\n"));
    EXPECT_EQ(cut.status, 0);
    EXPECT_NE(cut.err.find("cut.txt:2: the run stopped at 3000 ms, before this line's time 5000 "
                           "ms; 1 event was not delivered"),
              std::string::npos)
        << cut.err;

    const ToolRun edge = run(write("edge.txt", "0 click start\n600000 key 37\n"));
    EXPECT_NE(edge.err.find("edge.txt:2: the run stopped at 600000 ms, this line's own time, "
                            "before delivering it; 1 event was not delivered"),
              std::string::npos)
        << edge.err;

    // An end line, or the main window closed, is the script's own stop,
    // however late it comes.
    for (const char* script : {"0 click start\n5000 end\n6000 key 37\n",
                               "0 closewin main\n5000 key 37\n", "700000 closewin main\n"}) {
        const ToolRun stopped = run(write("stopped.txt", script));
        EXPECT_EQ(stopped.status, 0);
        EXPECT_EQ(stopped.err.find("warning"), std::string::npos) << stopped.err;
    }
}

// A virtual day of games, one started every twenty seconds: long enough
// that a signal always comes in the middle of its trace.
std::string aDayOfPlay() {
    std::string script;
    for (long t = 0; t < 86'400'000; t += 20'000) {
        script += std::to_string(t) + " click start\n";
    }
    return script + "86400000 end\n";
}

class ReplaySignal : public ReplayTool, public ::testing::WithParamInterface<int> {};

TEST_P(ReplaySignal, CutsTheRunShortAndRemovesTheTraceAndSummaryItWasWriting) {
    const std::string script = write("day.txt", aDayOfPlay());
    const std::string signal = std::to_string(GetParam());
    // The shell starts a run in the background with SIGINT ignored: env
    // gives it back. The file size limit keeps a run the signal missed from
    // filling the disk; a run that ended before writing is waited for no more.
    const ToolRun r =
        shell("ulimit -f 200000; env --default-signal=INT \"$REPLAY\" --trace " + dir_ +
              "/t.jsonl --summary-json " + dir_ + "/s.json " + script + " & while [ ! -s " + dir_ +
              "/t.jsonl ] && kill -0 $! 2>/dev/null; do sleep 0.01; done; kill -" + signal +
              " $!; wait $!");
    EXPECT_EQ(r.status, 128 + GetParam()) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/t.jsonl")) << "a trace cut short is left";
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/s.json")) << "a summary cut short is left";
    EXPECT_NE(r.err.find(std::string("gulpo-replay: stopped by SIG") + sigabbrev_np(GetParam()) +
                         "; the trace '" + dir_ + "/t.jsonl' was incomplete and is removed"),
              std::string::npos)
        << r.err;
}

INSTANTIATE_TEST_SUITE_P(Signals, ReplaySignal, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& p) {
                             return std::string("SIG") + sigabbrev_np(p.param);
                         });

TEST_F(ReplayTool, AReaderThatStopsEarlyEndsTheRunWithSigpipeAndNoSummaryLeft) {
    const std::string script = write("day.txt", aDayOfPlay());
    const ToolRun r =
        shell("{ \"$REPLAY\" --summary-json " + dir_ + "/s.json " + script + "; echo $? >" + dir_ +
              "/status; } | head -c 1000 >/dev/null; exit $(cat " + dir_ + "/status)");
    EXPECT_EQ(r.status, 128 + SIGPIPE) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/s.json"));
    EXPECT_NE(r.err.find("stopped by SIGPIPE; the trace on standard output is incomplete; the "
                         "summary '" +
                         dir_ + "/s.json' was incomplete and is removed"),
              std::string::npos)
        << r.err;
}

}  // namespace
