#include "app/desktop/game_icon.h"

#include <algorithm>

namespace desktop {

namespace {

QImage clearBackground(const platform::Raster& r) {
    QImage image(r.width, r.height, QImage::Format_ARGB32);
    for (int y = 0; y < r.height; ++y) {
        for (int x = 0; x < r.width; ++x) {
            const platform::Colour c = r.at(x, y);
            const bool background = c == platform::rgb(0, 0, 0);
            image.setPixel(
                x, y,
                qRgba(static_cast<int>(platform::redOf(c)), static_cast<int>(platform::greenOf(c)),
                      static_cast<int>(platform::blueOf(c)), background ? 0 : 255));
        }
    }
    return image;
}

// A margin of up to a third of the icon still reads as the icon.
bool fillsMostOf(int drawn, int size) {
    return drawn * 3 >= size * 2;
}

}  // namespace

QImage gameIcon(const platform::Raster& r, int size) {
    const QImage art = clearBackground(r);
    const int side = std::max(r.width, r.height);
    const int whole = size / side;
    if (whole == 0 || !fillsMostOf(whole * side, size)) {
        return art.scaled(size, size, Qt::KeepAspectRatio, Qt::FastTransformation);
    }
    const QImage large = art.scaled(r.width * whole, r.height * whole, Qt::IgnoreAspectRatio,
                                    Qt::FastTransformation);
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    const int left = (size - large.width()) / 2;
    const int top = (size - large.height()) / 2;
    for (int y = 0; y < large.height(); ++y) {
        for (int x = 0; x < large.width(); ++x) {
            icon.setPixel(left + x, top + y, large.pixel(x, y));
        }
    }
    return icon;
}

}  // namespace desktop
