// The player's files when a game goes wrong: a failed write is said at once,
// in the window's title too, and the game goes on; a display server that
// goes away ends it as a signal does; a game past ten minutes replays.
#include <sys/resource.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>

#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

bool holds(const std::string& path, const std::string& text) {
    return readFile(path).find(text) != std::string::npos;
}

// An output, and the file size limit the running game is given: the
// recording's after a score of inputs, the others' a few ticks into play.
using Failure = std::pair<std::string, rlim_t>;

class AFailedWrite : public RealProgramTest, public ::testing::WithParamInterface<Failure> {
  protected:
    AFailedWrite() { options.arguments = {GetParam().first, file_}; }
    const std::string file_ = dir() + "/file";
};

TEST_P(AFailedWrite, IsSaidAtOnceInTheWindowAndTheGameGoesOn) {
    const bool recording = GetParam().first == "--record";
    const std::string what = recording ? "the recording" : "the " + GetParam().first.substr(2);
    const rlimit limit{GetParam().second, GetParam().second};
    ASSERT_EQ(::prlimit(program().pid(), RLIMIT_FSIZE, &limit, nullptr), 0);
    pressIn(mainWindow(), "main window", "alt+s");
    const std::string title = "Gulpo - " + what + " stopped: " + std::strerror(EFBIG);
    XWindowId shown = 0;
    for (int keys = 0; keys < 60 && shown == 0; ++keys) {
        press(keys % 2 == 0 ? "Left" : "Right");
        shown = x().findTopLevel(title, Millis(100));
    }
    ASSERT_NE(shown, 0u) << "no window titled '" << title << "'; " << state();
    ASSERT_TRUE(program().closeAndTimeTheEnd(shown, Millis(5000))) << state();
    EXPECT_EQ(program().exitStatus()->code, 3) << state();
    EXPECT_NE(program().errorOutput().find(file_ + ": cannot write " + what + ": " +
                                           std::strerror(EFBIG)),
              std::string::npos)
        << state();
    EXPECT_EQ(std::filesystem::exists(file_), recording) << what << " cut short";
    if (recording) {
        // Cut back to its last whole line, which a replay takes.
        const std::string lines = readFile(file_);
        EXPECT_GT(lines.size() + std::size("86400000 key 37"), GetParam().second) << lines;
        const ExitStatus replay = runToCompletion(
            {GULPO_REPLAY_BINARY, "--quiet", "--no-trace", file_}, "", Millis(10000));
        EXPECT_TRUE(replay.exited && replay.code == 0) << replay.describe();
    }
}

INSTANTIATE_TEST_SUITE_P(Gulpo, AFailedWrite,
                         ::testing::Values(Failure{"--record", 400}, Failure{"--trace", 4096},
                                           Failure{"--timings", 4096}));

class OwnDisplay : public RealProgramTest {
  protected:
    OwnDisplay() { onX = false; }
};

TEST_F(OwnDisplay, GoingAwayEndsTheGameAsASignalDoes) {
    std::optional<VirtualScreen> screen(std::in_place, artifact("xvfb.log"));
    const std::string recording = dir() + "/r.txt";
    const std::string trace = dir() + "/t.jsonl";
    const std::string errLog = artifact("err.log");
    ChildProcess game({GULPO_PROGRAM, "--record", recording, "--trace", trace},
                      {"DISPLAY=" + screen->display(), "QT_QPA_PLATFORM=xcb"}, artifact("out.log"),
                      -1, errLog);
    ASSERT_TRUE(pollUntil([&] { return holds(trace, "\n"); }, Millis(10000)));
    screen.reset();
    const std::optional<ExitStatus> status = game.waitFor(Millis(10000));
    ASSERT_TRUE(status.has_value()) << "gulpo still runs 10 s after its display went away";
    EXPECT_TRUE(status->exited && status->code == 4) << status->describe();
    EXPECT_FALSE(std::filesystem::exists(trace)) << "a trace cut short is left looking complete";
    EXPECT_TRUE(readFile(recording).starts_with("# recorded by gulpo"));
    EXPECT_TRUE(holds(errLog, "gulpo: the display server went away; the recording '" + recording +
                                  "' is kept up to its last line; the trace '" + trace +
                                  "' was incomplete and is removed\n"))
        << readFile(errLog);
}

// On a clock the test steps, so that eleven minutes take a moment.
class LongGame : public RealProgramTest {
  protected:
    LongGame() {
        stepped = true;
        options.arguments = {"--record", recording_, "--trace", played_};
    }
    const std::string recording_ = dir() + "/recording.txt";
    const std::string played_ = dir() + "/played.jsonl";
};

TEST_F(LongGame, PastTenMinutesReplaysToTheTraceItWrote) {
    pressIn(mainWindow(), "main window", "alt+s");
    ASSERT_TRUE(pollUntil([&] { return holds(recording_, " alt S\n"); }, Millis(10000)));
    ASSERT_EQ(clock().ask("advance 660000").substr(0, 3), "ok ");
    x().askToClose(mainWindow());
    ASSERT_TRUE(pollUntil([&] { return holds(recording_, " closewin main\n"); }, Millis(10000)));
    // Delivered once the clock moves on; the game ends before it replies.
    std::ofstream(dir() + "/commands") << "advance 1" << std::endl;
    const std::optional<ExitStatus> ended = program().waitForEnd(Millis(10000));
    ASSERT_TRUE(ended && ended->exited && ended->code == 0) << state();

    const std::string replayed = dir() + "/replayed.jsonl";
    const ExitStatus replay = runToCompletion(
        {GULPO_REPLAY_BINARY, "--quiet", "--trace", replayed, recording_}, "", Millis(30000));
    EXPECT_TRUE(replay.exited && replay.code == 0) << replay.describe();
    const std::string played = readFile(played_);
    EXPECT_TRUE(played.ends_with("\"ev\":\"exit\",\"depth\":0}\n")) << "the played trace is cut";
    EXPECT_TRUE(readFile(replayed) == played) << "the replay played another game";
}

}  // namespace
}  // namespace window_test
