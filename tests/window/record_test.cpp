// A game played in the window, recorded, plays again exactly: gulpo-replay
// and the window watching the recording both write, byte for byte, the trace
// the game wrote as it was played. The game: the About window opened and
// closed, Tab and Enter to start, then arrows through XTEST that eat a big
// dot, eat a blue ghost and lose a life to it while the other two are still
// blue, so that their frightened timers run out during the life's pause;
// ended by the window manager's close. Once more with another process
// spinning on the game's processor core.
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "tests/support/trace_fields.h"
#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

// The arrows, in milliseconds after the Enter that starts the game. Found by
// running the game headless: they bring it about also with every key a
// tenth of a second early or late.
constexpr struct {
    int after;
    const char* key;
} kArrows[] = {{2100, "Left"},  {3321, "Up"},   {4450, "Down"},  {5706, "Down"},  {7226, "Right"},
               {8197, "Left"},  {9188, "Left"}, {9654, "Right"}, {10172, "Left"}, {11254, "Up"},
               {12762, "Left"}, {13742, "Up"},  {14540, "Down"}};

// The game's trace file as it grows: what it holds so far and the game's
// clock on its last line.
class GrowingTrace {
  public:
    explicit GrowingTrace(const std::string& path) : path_(path) {}

    // Reads what has been added; the game's clock at the last whole line.
    long long clock() {
        if (fd_ < 0) {
            fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        }
        char buffer[65536];
        for (ssize_t n; fd_ >= 0 && (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
            text_.append(buffer, static_cast<std::size_t>(n));
        }
        const auto end = text_.rfind('\n');
        const auto start = end == std::string::npos ? end : text_.rfind('\n', end - 1);
        return end == std::string::npos
                   ? -1
                   : gulpo_test::number(text_.substr(start == std::string::npos ? 0 : start + 1),
                                        "t");
    }
    bool holds(const std::string& text) {
        clock();
        return text_.find(text) != std::string::npos;
    }
    ~GrowingTrace() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

  private:
    std::string path_;
    int fd_ = -1;
    std::string text_;
};

// A process spinning on the processor core the game is held to.
class CoreHog {
  public:
    explicit CoreHog(pid_t game) {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(0, &one);
        ::sched_setaffinity(game, sizeof one, &one);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::sched_setaffinity(0, sizeof one, &one);
            volatile unsigned long spin = 0;
            for (;;) {
                spin = spin + 1;
            }
        }
    }
    ~CoreHog() {
        // A failed fork leaves no hog, and kill(-1) would reach every process.
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

  private:
    pid_t pid_ = -1;
};

class RecordedGame : public RealProgramTest, public ::testing::WithParamInterface<bool> {
  protected:
    RecordedGame() { options.arguments = {"--record", recording_, "--trace", played_}; }

    void waitFor(const std::string& what, const std::string& text) {
        ASSERT_TRUE(pollUntil([&] { return trace_.holds(text); }, Millis(30000), Millis(2)))
            << "the game's trace shows no " << what << "; " << state();
    }

    const std::string recording_ = artifact("recording.txt");
    const std::string played_ = artifact("played.jsonl");
    GrowingTrace trace_{played_};
};

TEST_P(RecordedGame, PlaysAgainHeadlessAndInTheWindowToTheTraceItWrote) {
    std::optional<CoreHog> hog;
    if (GetParam()) {
        hog.emplace(program().pid());
    }
    waitForTheMaze();
    pressIn(mainWindow(), "main window", "alt+a");
    waitFor("About window", "\"ev\":\"about\"");
    press("alt+c");
    waitFor("About window closed", "\"ev\":\"close\"");
    // About holds the focus since it was pressed: Tab gives it to Start.
    pressIn(mainWindow(), "main window", "Tab");
    press("Return");
    waitFor("Start", "\"ev\":\"start\"");
    const long long enter = trace_.clock() - 2000;
    for (const auto& arrow : kArrows) {
        // A tick's line comes every 17 ms, and the key takes a while to arrive.
        const long long at = enter + arrow.after - 20;
        ASSERT_TRUE(pollUntil([&] { return trace_.clock() >= at; }, Millis(30000), Millis(1)));
        press(arrow.key);
    }
    waitFor("frightened timer running out in a lost life's pause", "\"ev\":\"ghost\",\"depth\":1");
    waitFor("life lost once that pause is over", "\"Lives\":2,");
    hog.reset();
    expectCloseEndsTheProgram(mainWindow(), "main window", Millis(5000));

    const std::string replayed = artifact("replayed.jsonl");
    const std::string watched = artifact("watched.jsonl");
    const ExitStatus replay = runToCompletion(
        {GULPO_REPLAY_BINARY, "--quiet", "--trace", replayed, recording_}, "", Millis(10000));
    EXPECT_TRUE(replay.exited && replay.code == 0) << replay.describe();
    const ExitStatus watch =
        runToCompletion({GULPO_PROGRAM, "--watch", recording_, "--trace", watched},
                        program().display(), Millis(60000));
    EXPECT_TRUE(watch.exited && watch.code == 0) << watch.describe();

    const std::string lines = readFile(played_);
    EXPECT_TRUE(lines.ends_with("\"ev\":\"exit\",\"depth\":0}\n"))
        << "the played trace is cut short";
    EXPECT_EQ(readFile(replayed), lines) << "gulpo-replay played another game";
    EXPECT_EQ(readFile(watched), lines) << "the window watched another game";
    const std::string recorded = readFile(recording_);
    EXPECT_TRUE(recorded.starts_with("# recorded by gulpo")) << recorded;
    EXPECT_EQ(gulpo_test::occurrences(recorded, " key "), std::size(kArrows) + 2) << recorded;
}

INSTANTIATE_TEST_SUITE_P(Recorded, RecordedGame, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) {
                             return std::string(p.param ? "WithTheCoreBusy" : "OnAnIdleMachine");
                         });

}  // namespace
}  // namespace window_test
