// What painting costs: the whole main window into an image, and the
// window's own repaints while the game plays, at the design size and at
// three times it. The play benchmarks run the real window on the offscreen
// platform with the game on a stepped clock, a tick at a time with random
// arrow keys, and time the repaint each tick leads to; they count the pixels
// it repaints.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPaintEvent>

#include "game/frm_gulpo.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_platform.h"
#include "sessions/dice.h"

namespace {

void paintAt(benchmark::State& state, int percent) {
    platform::QtPlatform platform;
    game::FrmGulpo gulpo(platform);
    gulpo.load();
    platform::FormWindow* window = platform.windowOf(gulpo.frmGulpo);
    const QSize size = window->designSize() * percent / 100;
    window->resize(size);
    QImage image(size, QImage::Format_RGB32);
    for (auto _ : state) {
        window->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void paintMainWindow100(benchmark::State& state) {
    paintAt(state, 100);
}
void paintMainWindow300(benchmark::State& state) {
    paintAt(state, 300);
}

// Adds up the pixels of every repaint of a window.
class RepaintedPixels : public QObject {
  public:
    long long pixels = 0;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region()) {
                pixels += static_cast<long long>(r.width()) * r.height();
            }
        }
        return false;
    }
};

void playAt(benchmark::State& state, int percent) {
    platform::QtPlatform platform;
    // The clock runs flat out: a pause passes at once.
    platform.steppedClock = [](std::int64_t until) { return until; };
    game::FrmGulpo gulpo(platform);
    gulpo.load();
    platform::FormWindow* window = platform.windowOf(gulpo.frmGulpo);
    window->resize(window->designSize() * percent / 100);
    QApplication::processEvents();
    RepaintedPixels repainted;
    window->installEventFilter(&repainted);
    sessions::Dice dice(12345);
    long long ticks = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (gulpo.cmdStart.Visible()) {
            gulpo.frmGulpo.click(gulpo.cmdStart);  // a new game or level
        }
        if (dice.roll(8) == 0) {
            gulpo.frmGulpo.keyDown(platform::keys::kLeft + dice.roll(4));
        }
        platform.dispatch([&] { gulpo.tmrMain_Timer(); });
        state.ResumeTiming();
        // The tick's one repaint.
        QApplication::processEvents();
        ++ticks;
    }
    const double windowPixels = static_cast<double>(window->width()) * window->height();
    const double perTick = static_cast<double>(repainted.pixels) / static_cast<double>(ticks);
    state.counters["px_per_tick"] = perTick;
    state.counters["pct_of_window"] = 100.0 * perTick / windowPixels;
}

void playRepaintPerTick100(benchmark::State& state) {
    playAt(state, 100);
}
void playRepaintPerTick300(benchmark::State& state) {
    playAt(state, 300);
}

BENCHMARK(paintMainWindow100)->Unit(benchmark::kMicrosecond);
BENCHMARK(paintMainWindow300)->Unit(benchmark::kMicrosecond);
BENCHMARK(playRepaintPerTick100)->Unit(benchmark::kMicrosecond)->Iterations(3000);
BENCHMARK(playRepaintPerTick300)->Unit(benchmark::kMicrosecond)->Iterations(3000);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
