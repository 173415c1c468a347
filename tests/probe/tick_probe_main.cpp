// The desktop program with a stopwatch on its tick: the same window and
// game, and on exit a line on standard error with the ticks it ran, their
// rate and the longest gap between two of them, leaving out the gaps that
// hold a lost life's two-second freeze, and a line with how often the main
// window repainted between two ticks. For the benchmarks and the tests that
// need the game's own times:
//
//   gulpo-tick-probe [--beep-log FILE] [--input-fd N]
//
// --beep-log writes the time of every beep (see BeepLog);
// --input-fd reads key presses and a close from a descriptor (see
// InputCommands), for sessions with no input devices.
#include <QApplication>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/frm_gulpo.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_platform.h"
#include "tests/probe/beep_log.h"
#include "tests/probe/input_commands.h"
#include "tests/probe/paint_counter.h"
#include "tests/probe/tick_stopwatch.h"

namespace {

// Tells every watcher.
class Watchers : public game::GameEvents {
  public:
    void add(game::GameEvents& watcher) { watchers_.push_back(&watcher); }
    void handlerReturned(game::Handler handler, int detail) override {
        for (game::GameEvents* w : watchers_) {
            w->handlerReturned(handler, detail);
        }
    }
    void waitBegan(int ms) override {
        for (game::GameEvents* w : watchers_) {
            w->waitBegan(ms);
        }
    }
    void waitEnded() override {
        for (game::GameEvents* w : watchers_) {
            w->waitEnded();
        }
    }

  private:
    std::vector<game::GameEvents*> watchers_;
};

// The desktop backend, telling the beep log when the game asks for a sound
// and in which tick: the one after the ticks the stopwatch has seen end.
class ListenedPlatform : public platform::QtPlatform {
  public:
    explicit ListenedPlatform(const probe::TickStopwatch& stopwatch) : stopwatch_(stopwatch) {}
    probe::BeepLog* beepLog = nullptr;

  protected:
    void sound() override {
        const auto at = std::chrono::steady_clock::now();
        platform::QtPlatform::sound();
        if (beepLog != nullptr) {
            beepLog->beeped(at, stopwatch_.ticks() + 1, beeps());
        }
    }

  private:
    const probe::TickStopwatch& stopwatch_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string beepLogPath;
    int inputFd = -1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--beep-log") == 0) {
            beepLogPath = argv[i + 1];
        } else if (std::strcmp(argv[i], "--input-fd") == 0) {
            inputFd = std::atoi(argv[i + 1]);
        } else {
            std::fprintf(stderr, "gulpo-tick-probe: unknown option %s\n", argv[i]);
            return 2;
        }
    }

    probe::TickStopwatch stopwatch;
    ListenedPlatform platform(stopwatch);
    Watchers watchers;
    watchers.add(stopwatch);
    probe::PaintCounter paints;
    watchers.add(paints);
    std::unique_ptr<probe::BeepLog> beepLog;
    if (!beepLogPath.empty()) {
        beepLog = std::make_unique<probe::BeepLog>(beepLogPath);
        if (!beepLog->isOpen()) {
            std::fprintf(stderr, "gulpo-tick-probe: cannot write %s\n", beepLogPath.c_str());
            return 2;
        }
        platform.beepLog = beepLog.get();
    }
    game::FrmGulpo gulpo(platform, &watchers);
    gulpo.load();
    platform.windowOf(gulpo.frmGulpo)->installEventFilter(&paints);
    std::unique_ptr<probe::InputCommands> input;
    if (inputFd >= 0) {
        input = std::make_unique<probe::InputCommands>(inputFd, [&]() -> QWindow* {
            platform::FormWindow* window = platform.windowOf(gulpo.frmGulpo);
            return window != nullptr ? window->windowHandle() : nullptr;
        });
    }
    const int status = platform.run();
    stopwatch.report();
    paints.report();
    return status;
}
