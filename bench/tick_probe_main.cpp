// The desktop program with a stopwatch on its tick: the same window and
// game, and on exit a line on standard error with the ticks it ran, their
// rate and the longest gap between two of them. For the benchmarks only.
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "game/frm_gulpo.h"
#include "platform/qt/qt_platform.h"

namespace {

class TickStopwatch : public game::GameEvents {
  public:
    void handlerReturned(game::Handler handler, int /*detail*/) override {
        if (handler == game::Handler::tick) {
            times_.push_back(std::chrono::steady_clock::now());
        }
    }
    void waitBegan(int /*ms*/) override { waiting_ = true; }
    void waitEnded() override { waiting_ = false; }

    void report() const {
        if (times_.size() < 2) {
            std::fprintf(stderr, "tick-probe: %zu ticks\n", times_.size());
            return;
        }
        double longest = 0;
        for (std::size_t i = 1; i < times_.size(); ++i) {
            longest = std::max(
                longest,
                std::chrono::duration<double, std::milli>(times_[i] - times_[i - 1]).count());
        }
        const double span = std::chrono::duration<double>(times_.back() - times_.front()).count();
        std::fprintf(stderr,
                     "tick-probe: %zu ticks over %.3f s, %.2f ticks/s, longest gap %.2f ms\n",
                     times_.size(), span, static_cast<double>(times_.size() - 1) / span, longest);
    }

  private:
    std::vector<std::chrono::steady_clock::time_point> times_;
    bool waiting_ = false;
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
