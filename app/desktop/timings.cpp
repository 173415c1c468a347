#include "app/desktop/timings.h"

#include <QEvent>
#include <string>

namespace desktop {

Timings::Timings(core::OutputFile& file, const platform::Platform& platform)
    : file_(file), platform_(platform) {}

void Timings::line(std::string_view what, bool withClock, long long extra) {
    if (!file_.good()) {
        return;
    }
    const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count();
    std::string text(what);
    text += " " + std::to_string(ns);
    if (withClock) {
        text += " " + std::to_string(platform_.nowMs());
    }
    if (extra >= 0) {
        text += " " + std::to_string(extra);
    }
    text += '\n';
    file_.write(text);
}

void Timings::handlerReturned(game::Handler handler, int /*detail*/) {
    line(game::handlerName(handler), true);
}

void Timings::waitBegan(int /*ms*/) {
    line("wait", true);
}

void Timings::waitEnded() {
    line("wait_end", true);
}

void Timings::beeped() {
    line("beep", true, platform_.beeps());
}

bool Timings::eventFilter(QObject* /*watched*/, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        line("paint", false);
    }
    return false;
}

}  // namespace desktop
