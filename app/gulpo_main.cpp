// The Gulpo desktop program: the main window on the desktop backend.
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>

#include "app/game_icon.h"
#include "app/graphical_session.h"
#include "game/frm_gulpo.h"
#include "platform/qt/qt_platform.h"

int main(int argc, char** argv) {
    // Qt aborts when it finds no display; say what is missing instead.
    if (!app::graphicalSessionFound(argc, argv)) {
        std::fprintf(stderr, "%s\n", app::kNoGraphicalSession);
        return 1;
    }
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
