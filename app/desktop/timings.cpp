#include "app/desktop/timings.h"

#include <QEvent>

namespace desktop {

Timings::Timings(const std::string& path, const platform::Platform& platform)
    : file_(std::fopen(path.c_str(), "we")), platform_(platform) {}

Timings::~Timings() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

void Timings::line(std::string_view what, bool withClock, long long extra) {
    if (file_ == nullptr) {
        return;
    }
    const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count();
    std::fprintf(file_, "%.*s %lld", static_cast<int>(what.size()), what.data(), ns);
    if (withClock) {
        std::fprintf(file_, " %lld", static_cast<long long>(platform_.nowMs()));
    }
    if (extra >= 0) {
        std::fprintf(file_, " %lld", extra);
    }
    std::fputc('\n', file_);
    std::fflush(file_);
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
