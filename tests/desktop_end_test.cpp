// The desktop backend on Qt's offscreen platform: the program ends once its
// main window is closed, also when the close is taken before the event loop
// has started (Qt's exit only stops a loop that is running).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include "game/frm_gulpo.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_platform.h"

namespace {

// What run() returns when nothing ended the loop within two seconds.
constexpr int kStillRunning = 99;

int runWithAWatchdog(platform::QtPlatform& platform) {
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(kStillRunning); });
    watchdog.start(2000);
    return platform.run();
}

TEST(DesktopEnd, AMainWindowClosedBeforeTheEventLoopRunsEndsTheProgramWithStatusZero) {
    platform::QtPlatform platform;
    game::FrmGulpo gulpo(platform);
    gulpo.load();
    ASSERT_TRUE(platform.windowOf(gulpo.frmGulpo)->close());
    ASSERT_TRUE(platform.ending());
    EXPECT_EQ(runWithAWatchdog(platform), 0);
}

TEST(DesktopEnd, AMainWindowClosedWhileTheEventLoopRunsEndsTheProgramWithStatusZero) {
    platform::QtPlatform platform;
    game::FrmGulpo gulpo(platform);
    gulpo.load();
    QTimer::singleShot(0, [&] { platform.windowOf(gulpo.frmGulpo)->close(); });
    EXPECT_EQ(runWithAWatchdog(platform), 0);
    EXPECT_TRUE(platform.ending());
}

}  // namespace
