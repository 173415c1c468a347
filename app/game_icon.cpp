#include "app/game_icon.h"

namespace app {

QImage gameIcon(const platform::Raster& r, int size) {
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
    return image.scaled(size, size, Qt::KeepAspectRatio, Qt::FastTransformation);
}

}  // namespace app
