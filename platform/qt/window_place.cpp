#include "platform/qt/window_place.h"

#include <algorithm>

namespace platform {

QSize fittedInto(QSize size, const QMargins& frame, const QRect& area) {
    const QSize room = area.size().shrunkBy(frame);
    return size.boundedTo(room) == size ? size : size.scaled(room, Qt::KeepAspectRatio);
}

QPoint keptWithin(const QRect& frame, const QRect& area) {
    const auto within = [](int at, int length, int from, int room) {
        return std::max(from, std::min(at, from + room - length));
    };
    return {within(frame.x(), frame.width(), area.x(), area.width()),
            within(frame.y(), frame.height(), area.y(), area.height())};
}

QPoint centredOver(const QSize& size, const QRect& owner) {
    return owner.center() - QPoint(size.width() / 2, size.height() / 2);
}

}  // namespace platform
