// What painting the whole main window costs, into an image on the offscreen
// platform, at the design size and at three times it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "game/frm_gulpo.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_platform.h"

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

void PaintMainWindow100(benchmark::State& state) {
    paintAt(state, 100);
}
void PaintMainWindow300(benchmark::State& state) {
    paintAt(state, 300);
}

BENCHMARK(PaintMainWindow100)->Unit(benchmark::kMicrosecond);
BENCHMARK(PaintMainWindow300)->Unit(benchmark::kMicrosecond);

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
