// The player's files in the real program when things go wrong: a write that
// fails in the middle of a game is said at once, in the window's title and
// on standard error, the game goes on, a recording stays valid up to its
// last whole line and the exit status says so; a display server that goes
// away ends the game as a signal does; and a game past ten minutes, with
// its recording, replays to the very trace it wrote.
#include <sys/resource.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "tests/window/session_test.h"

namespace window_test {
namespace {

bool holds(const std::string& path, const std::string& text) {
    return readFile(path).find(text) != std::string::npos;
}

// An output, and the file size limit the running game is given that stops
// it after some play: the recording after a score of inputs, the trace and
// the timings a few ticks into play. The log of standard error fits.
struct Failure {
    const char* option;
    const char* what;
    rlim_t limit;
    bool kept;
};

class AFailedWrite : public SessionTest, public ::testing::WithParamInterface<Failure> {
  protected:
    AFailedWrite() { options.arguments = {GetParam().option, file_}; }
    const std::string file_ = dir() + "/file";
};

TEST_P(AFailedWrite, IsSaidAtOnceInTheWindowAndTheGameGoesOn) {
    const std::string what = GetParam().what;
    const rlimit limit{GetParam().limit, GetParam().limit};
    ASSERT_EQ(::prlimit(session().pid(), RLIMIT_FSIZE, &limit, nullptr), 0);
    pressIn(mainWindow(), "main window", "alt+s");
    const std::string title = "Gulpo - " + what + " stopped: " + std::strerror(EFBIG);
    XWindowId shown = 0;
    for (int keys = 0; keys < 60 && shown == 0; ++keys) {
        press(keys % 2 == 0 ? "Left" : "Right");
        shown = x().findTopLevel(title, Millis(100));
    }
    ASSERT_NE(shown, 0u) << "no window titled '" << title << "'; " << state();
    EXPECT_TRUE(running()) << state();
    ASSERT_TRUE(session().closeAndTimeTheEnd(shown, Millis(5000))) << state();
    const ExitStatus status = *session().exitStatus();
    EXPECT_TRUE(status.exited && status.code == 3) << status.describe();
    EXPECT_NE(session().errorOutput().find("gulpo: " + file_ + ": cannot write " + what + ": " +
                                           std::strerror(EFBIG)),
              std::string::npos)
        << state();
    if (!GetParam().kept) {
        EXPECT_FALSE(std::filesystem::exists(file_)) << what << " cut short is left";
        return;
    }
    // Cut back to its last whole line, which a replay takes.
    const std::string lines = readFile(file_);
    EXPECT_TRUE(lines.starts_with("# recorded by gulpo") && lines.ends_with("\n")) << lines;
    EXPECT_GT(lines.size() + std::size("86400000 key 37"), GetParam().limit) << lines;
    const ExitStatus replay =
        runToCompletion({GULPO_REPLAY_BINARY, "--quiet", "--no-trace", file_}, "", Millis(10000));
    EXPECT_TRUE(replay.exited && replay.code == 0) << replay.describe();
}

INSTANTIATE_TEST_SUITE_P(Gulpo, AFailedWrite,
                         ::testing::Values(Failure{"--record", "the recording", 400, true},
                                           Failure{"--trace", "the trace", 4096, false},
                                           Failure{"--timings", "the timings", 4096, false}),
                         [](const ::testing::TestParamInfo<Failure>& p) {
                             return std::string(p.param.option + 2);
                         });

class OwnDisplay : public SessionTest {
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
    ASSERT_TRUE(pollUntil([&] { return holds(trace, "\n"); }, Millis(10000)))
        << "the game never began";
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
    EXPECT_FALSE(holds(errLog, "X11 connection")) << readFile(errLog);
}

// On a clock the test steps, so that eleven minutes take a moment: Start,
// one arrow, and the window closed after 600000 ms.
class LongGame : public SessionTest {
  protected:
    LongGame() {
        stepped = true;
        options.arguments = {"--record", recording_, "--trace", played_};
    }

    void take(const std::string& keys, const std::string& recorded) {
        press(keys);
        ASSERT_TRUE(pollUntil([&] { return holds(recording_, recorded); }, Millis(10000)))
            << keys << " was not recorded; " << state();
    }

    const std::string recording_ = dir() + "/recording.txt";
    const std::string played_ = dir() + "/played.jsonl";
};

TEST_F(LongGame, PastTenMinutesReplaysToTheTraceItWrote) {
    ASSERT_TRUE(x().focus(mainWindow(), Millis(2000)));
    take("alt+s", " alt S\n");
    ASSERT_EQ(clock().ask("advance 3000").substr(0, 3), "ok ");
    take("Left", " key 37\n");
    ASSERT_EQ(clock().ask("advance 660000").substr(0, 3), "ok ");
    x().askToClose(mainWindow());
    ASSERT_TRUE(pollUntil([&] { return holds(recording_, " closewin main\n"); }, Millis(10000)));
    // The close is delivered once the clock moves on, and the game ends
    // before it could reply.
    std::ofstream(dir() + "/commands") << "advance 1" << std::endl;
    const std::optional<ExitStatus> ended = session().waitForEnd(Millis(10000));
    ASSERT_TRUE(ended && ended->exited && ended->code == 0) << state();

    const std::string replayed = dir() + "/replayed.jsonl";
    const ExitStatus replay = runToCompletion(
        {GULPO_REPLAY_BINARY, "--quiet", "--trace", replayed, recording_}, "", Millis(30000));
    EXPECT_TRUE(replay.exited && replay.code == 0) << replay.describe();
    const std::string played = readFile(played_);
    EXPECT_TRUE(played.ends_with("\"ev\":\"exit\",\"depth\":0}\n"))
        << "the played trace is cut short";
    EXPECT_TRUE(readFile(replayed) == played) << "the replay played another game";
}

}  // namespace
}  // namespace window_test
