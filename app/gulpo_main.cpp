// The Gulpo desktop program: the main window on the desktop backend.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "game/frm_gulpo.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_platform.h"

namespace {

// The window's icon is the player's own picture.
QIcon gameIcon(const platform::Raster& r) {
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
    return QIcon(
        QPixmap::fromImage(image.scaled(64, 64, Qt::KeepAspectRatio, Qt::FastTransformation)));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Gulpo");
    QApplication::setDesktopFileName("gulpo");
    platform::QtPlatform platform;
    game::FrmGulpo gulpo(platform);
    QApplication::setWindowIcon(gameIcon(gulpo.imgGulpo.picture().raster()));
    gulpo.load();
    return platform.run();
}
