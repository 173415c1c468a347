#include "tests/probe/paint_counter.h"

#include <QEvent>
#include <algorithm>
#include <cstdio>

namespace probe {

bool PaintCounter::eventFilter(QObject* /*watched*/, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        ++paints_;
        ++sinceTick_;
    }
    return false;
}

void PaintCounter::handlerReturned(game::Handler handler, int /*detail*/) {
    if (handler != game::Handler::tick) {
        mixed_ = true;
        return;
    }
    if (!mixed_) {
        ++stretches_;
        most_ = std::max(most_, sinceTick_);
        overOne_ += sinceTick_ > 1 ? 1 : 0;
    }
    mixed_ = false;
    sinceTick_ = 0;
}

void PaintCounter::waitBegan(int /*ms*/) {
    mixed_ = true;
}

void PaintCounter::report() const {
    std::fprintf(stderr,
                 "paint-probe: %lld stretches from tick to tick, at most %lld repaints in one, "
                 "%lld with more than one, %lld repaints in all\n",
                 stretches_, most_, overOne_, paints_);
}

}  // namespace probe
