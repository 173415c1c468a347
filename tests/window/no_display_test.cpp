// The real program started where there is no graphical session at all: no X
// display and no Wayland socket. It says so on one line and ends with status
// 1, instead of aborting inside the toolkit; a platform named explicitly
// still starts.

#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

using std::chrono::milliseconds;

// No X server: the test runs the program itself, with an empty runtime
// folder, so that there is no Wayland socket whatever the machine running
// the tests has in its own.
class NoDisplay : public RealProgramTest {
  protected:
    NoDisplay() { onX = false; }

    // Starts the program with no display settings but `extra`; its status
    // if it ended within `timeout`.
    std::optional<ExitStatus> run(std::vector<std::string> args,
                                  const std::vector<std::string>& extra, milliseconds timeout) {
        std::vector<std::string> environment{"XDG_RUNTIME_DIR=" + dir()};
        environment.insert(environment.end(), extra.begin(), extra.end());
        args.insert(args.begin(), options.program);
        program_.emplace(args, environment, outLog_, -1, errLog_);
        return program_->waitFor(timeout);
    }

    std::vector<std::string> errorLines() const {
        std::vector<std::string> lines;
        std::istringstream in(readFile(errLog_));
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    const std::string outLog_ = artifact("out.log");
    const std::string errLog_ = artifact("err.log");
    std::optional<ChildProcess> program_;
};

// The program's arguments and the display settings it is started with.
struct Start {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::string> environment;
};

std::string nameOf(const ::testing::TestParamInfo<Start>& p) {
    return p.param.name;
}

void PrintTo(const Start& start, std::ostream* os) {
    *os << start.name;
}

class NoSession : public NoDisplay, public ::testing::WithParamInterface<Start> {};

TEST_P(NoSession, TheProgramSaysSoOnOneLineAndEndsWithStatusOne) {
    const auto status = run(GetParam().args, GetParam().environment, milliseconds(10000));
    ASSERT_TRUE(status.has_value()) << "gulpo still runs 10 s after starting with no display";
    EXPECT_TRUE(status->exited) << "gulpo " << status->describe() << " instead of ending on its "
                                << "own; its error output:\n"
                                << readFile(errLog_);
    EXPECT_EQ(status->code, 1) << "gulpo " << status->describe();

    const std::vector<std::string> lines = errorLines();
    ASSERT_EQ(lines.size(), 1u) << "its error output:\n" << readFile(errLog_);
    EXPECT_NE(lines[0].find("no graphical session"), std::string::npos) << lines[0];
    // How to get one.
    EXPECT_NE(lines[0].find("desktop session"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("DISPLAY"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("WAYLAND_DISPLAY"), std::string::npos) << lines[0];
    EXPECT_EQ(readFile(outLog_), "");
}

// No display settings at all, and a Wayland display with no socket behind it.
INSTANTIATE_TEST_SUITE_P(
    NoDisplay, NoSession,
    ::testing::Values(Start{"NoDisplayAtAll", {}, {}},
                      Start{"AWaylandDisplayWithNoSocket", {}, {"WAYLAND_DISPLAY=wayland-7"}}),
    nameOf);

class NamedPlatform : public NoDisplay, public ::testing::WithParamInterface<Start> {};

// The offscreen platform needs no display: the program starts and runs
// until it is stopped.
TEST_P(NamedPlatform, StillStarts) {
    const auto status = run(GetParam().args, GetParam().environment, milliseconds(1500));
    EXPECT_FALSE(status.has_value())
        << "gulpo " << status->describe() << " on the offscreen platform; its error output:\n"
        << readFile(errLog_);
}

INSTANTIATE_TEST_SUITE_P(
    NoDisplay, NamedPlatform,
    ::testing::Values(Start{"InTheEnvironment", {}, {"QT_QPA_PLATFORM=offscreen"}},
                      Start{"OnTheCommandLine", {"-platform", "offscreen"}, {}}),
    nameOf);

// The command line is read before anything else, so its refusals, its help
// and its version need no display: each is one line, and a refusal ends with
// status 2 before any window (without a display, a window would be status 1).
// A start refused for any reason leaves an earlier recording (OLD, also as
// HARD and SYM links) as it was; no file serves two options.
struct CommandLine {
    std::vector<std::string> args;
    int status;
    std::string says;  // on standard error for a refusal, else standard output
};

void PrintTo(const CommandLine& line, std::ostream* os) {
    *os << "gulpo";
    for (const std::string& arg : line.args) {
        *os << " " << arg;
    }
}

class GulpoCommandLine : public NoDisplay, public ::testing::WithParamInterface<CommandLine> {};

TEST_P(GulpoCommandLine, SaysWhatItDoesOnOneLineBeforeAnyWindow) {
    const std::string earlier = "# recorded by gulpo\n0 click start\n";
    std::ofstream(dir() + "/OLD") << earlier;
    std::filesystem::create_hard_link(dir() + "/OLD", dir() + "/HARD");
    std::filesystem::create_symlink(dir() + "/OLD", dir() + "/SYM");
    std::vector<std::string> args = GetParam().args;
    for (std::string& arg : args) {
        if (arg == "BAD_SCRIPT") {
            arg = artifactPath("no_display_bad_script.txt");
            std::ofstream(arg) << "0 click start\n100 jump 3\n";
        } else if (arg == "OLD" || arg == "HARD" || arg == "SYM") {
            arg.insert(0, dir() + "/");
        }
    }
    const auto status = run(args, {}, milliseconds(5000));
    ASSERT_TRUE(status.has_value()) << "gulpo still runs 5 s after starting";
    EXPECT_EQ(status->exited ? status->code : 128 + status->signal, GetParam().status)
        << status->describe();
    const std::string said = readFile(GetParam().status == 0 ? outLog_ : errLog_);
    EXPECT_NE(said.find(GetParam().says), std::string::npos) << said;
    if (GetParam().status == 2) {
        EXPECT_EQ(errorLines().size(), 1u) << said;
    }
    EXPECT_EQ(readFile(dir() + "/OLD"), earlier) << "an earlier recording was spoiled";
}

INSTANTIATE_TEST_SUITE_P(
    Gulpo, GulpoCommandLine,
    ::testing::Values(
        CommandLine{{"--help"}, 0, "--record FILE"}, CommandLine{{"--version"}, 0, "gulpo 1.0\n"},
        CommandLine{{"-style", "fusion", "--reverse", "--version"}, 0, "gulpo 1.0"},
        CommandLine{{"--bogus"}, 2, "gulpo: unknown option '--bogus'"},
        CommandLine{{"game.txt"}, 2, "unexpected argument 'game.txt'"},
        CommandLine{{"--watch"}, 2, "--watch needs a file name"},
        CommandLine{{"--watch", "/no/such/game.txt"}, 2, "/no/such/game.txt: cannot open"},
        CommandLine{
            {"--watch", "BAD_SCRIPT"}, 2, "no_display_bad_script.txt:2: unknown verb 'jump'"},
        CommandLine{{"--record", "/no/such/dir/r.txt"},
                    2,
                    "/no/such/dir/r.txt: cannot write the recording"},
        CommandLine{
            {"--trace", "/no/such/dir/t.jsonl"}, 2, "/no/such/dir/t.jsonl: cannot write the trace"},
        CommandLine{{"--record", "r.txt", "--watch", "w.txt"}, 2, "do not go together"},
        CommandLine{{"--record", "OLD", "--trace", "OLD"}, 2, "are one file"},
        CommandLine{{"--record", "OLD", "--timings", "HARD"}, 2, "are one file"},
        CommandLine{{"--trace", "OLD", "--timings", "SYM"}, 2, "are one file"},
        CommandLine{{"--watch", "OLD", "--trace", "HARD"}, 2, "are one file"},
        CommandLine{{"--watch", "OLD", "--timings", "SYM"}, 2, "are one file"},
        CommandLine{{"--record", "OLD", "--trace", "/no/such/dir/t.jsonl"}, 2, "the trace"},
        CommandLine{{"--record", "OLD", "--timings", "/no/such/dir/t.txt"}, 2, "the timings"},
        CommandLine{{"--record", "OLD"}, 1, "no graphical session"},
        CommandLine{{"--record", "OLD", "-platform", "nosuch"}, 128 + SIGABRT, "nosuch"}),
    [](const ::testing::TestParamInfo<CommandLine>& p) {
        return "Case" + std::to_string(p.index);
    });

// With standard error closed, the program's own messages (here the signal's)
// go nowhere, not into the recording, where no replay would take them.
TEST_F(NoDisplay, AClosedStandardErrorLeavesTheRecordingToTheGame) {
    const std::string recording = dir() + "/r.txt";
    program_.emplace(
        std::vector<std::string>{"/bin/sh", "-c", "exec \"$0\" \"$@\" 2>&-", options.program,
                                 "-platform", "offscreen", "--record", recording},
        std::vector<std::string>{}, outLog_, -1, errLog_);
    ASSERT_TRUE(pollUntil([&] { return readFile(recording).ends_with("\n"); }, Millis(10000)));
    EXPECT_EQ(program_->stop().signal, SIGTERM);
    const std::string lines = readFile(recording);
    EXPECT_TRUE(lines.starts_with("# recorded by gulpo") && lines.find('\n') == lines.size() - 1)
        << lines;
}

}  // namespace
}  // namespace window_test
