// The Gulpo desktop program: the main window on the desktop backend.
#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include "app/game_icon.h"
#include "game/frm_gulpo.h"
#include "platform/qt/qt_platform.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Gulpo");
    QApplication::setDesktopFileName(GULPO_APP_ID);
    platform::QtPlatform platform;
    game::FrmGulpo gulpo(platform);
    // The window carries the player's picture as its icon.
    QApplication::setWindowIcon(
        QIcon(QPixmap::fromImage(app::gameIcon(gulpo.imgGulpo.picture().raster(), 64))));
    gulpo.load();
    return platform.run();
}
