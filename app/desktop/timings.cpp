#include "app/desktop/timings.h"

#include <QEvent>

namespace desktop {

namespace {

const char* handlerName(game::Handler handler) {
    switch (handler) {
        case game::Handler::load:
            return "load";
        case game::Handler::start:
            return "start";
        case game::Handler::about:
            return "about";
        case game::Handler::close:
            return "close";
        case game::Handler::key:
            return "key";
        case game::Handler::tick:
            return "tick";
        case game::Handler::ghost:
            return "ghost";
    }
    return "handler";
}

}  // namespace

Timings::Timings(const std::string& path, const platform::Platform& platform)
    : file_(std::fopen(path.c_str(), "we")), platform_(platform) {}

Timings::~Timings() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

void Timings::line(const char* what, bool withClock, long long extra) {
    if (file_ == nullptr) {
        return;
    }
    const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count();
    std::fprintf(file_, "%s %lld", what, ns);
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
    line(handlerName(handler), true);
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
