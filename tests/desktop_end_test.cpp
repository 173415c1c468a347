// The desktop backend on Qt's offscreen platform: a close of the main
// window is an input like any other, taken into the game's queue, and the
// program ends once it is delivered: also when the close comes before the
// game's loop has started, and while it runs.
#include <gtest/gtest.h>

#include <QTimer>

#include "app/core/session.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_platform.h"

namespace {

class DesktopEnd : public ::testing::Test {
  protected:
    DesktopEnd() : session(platform, [this](std::string_view lines) { trace += lines; }) {
        session.takePlayerInput(nullptr);
        session.load();
        // Nothing else ends the loop: without the close it runs forever,
        // and the watchdog ends the program instead.
        QObject::connect(&watchdog, &QTimer::timeout, [this] {
            timedOut = true;
            platform.endProgram();
        });
        watchdog.setSingleShot(true);
        watchdog.start(2000);
    }

    void closeMainWindow() { platform.windowOf(session.game().frmGulpo)->close(); }

    platform::QtPlatform platform;
    std::string trace;
    core::Session session;
    QTimer watchdog;
    bool timedOut = false;
};

TEST_F(DesktopEnd, AMainWindowClosedBeforeTheLoopRunsEndsTheProgram) {
    closeMainWindow();
    session.run();
    EXPECT_FALSE(timedOut) << "the close was lost";
    EXPECT_NE(trace.find("\"ev\":\"exit\""), std::string::npos) << trace;
}

TEST_F(DesktopEnd, AMainWindowClosedWhileTheLoopRunsEndsTheProgram) {
    QTimer::singleShot(50, [this] { closeMainWindow(); });
    session.run();
    EXPECT_FALSE(timedOut) << "the close was lost";
    EXPECT_NE(trace.find("\"ev\":\"exit\""), std::string::npos) << trace;
}

}  // namespace
