// The desktop program with a stopwatch on its tick: the same window and
// game, and on exit a line on standard error with the ticks it ran, their
// rate and the longest gap between two of them, leaving out the gaps that
// hold a lost life's two-second freeze. For the benchmarks only.
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "game/frm_gulpo.h"
#include "platform/qt/qt_platform.h"

namespace {

class TickStopwatch : public game::GameEvents {
  public:
    void handlerReturned(game::Handler handler, int /*detail*/) override {
        if (handler != game::Handler::tick) {
            return;
        }
        const auto now = std::chrono::steady_clock::now();
        if (ticks_ > 0 && !froze_) {
            const double gap = std::chrono::duration<double, std::milli>(now - last_).count();
            longest_ = std::max(longest_, gap);
            measuredMs_ += gap;
            ++intervals_;
        }
        froze_ = false;
        last_ = now;
        ++ticks_;
    }
    void waitBegan(int /*ms*/) override { froze_ = true; }
    void waitEnded() override {}

    void report() const {
        const double rate = measuredMs_ > 0 ? intervals_ * 1000.0 / measuredMs_ : 0;
        std::fprintf(stderr,
                     "tick-probe: %lld ticks, %.2f ticks/s over %.3f s of play, longest gap %.2f "
                     "ms\n",
                     ticks_, rate, measuredMs_ / 1000.0, longest_);
    }

  private:
    std::chrono::steady_clock::time_point last_;
    long long ticks_ = 0;
    long long intervals_ = 0;
    double measuredMs_ = 0;
    double longest_ = 0;
    bool froze_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::QtPlatform platform;
    TickStopwatch stopwatch;
    game::FrmGulpo gulpo(platform, &stopwatch);
    gulpo.load();
    const int status = platform.run();
    stopwatch.report();
    return status;
}
