#include "game/frm_gulpo.h"

#include "game/about.h"

namespace game {

FrmGulpo::FrmGulpo(platform::Platform& platform, GameEvents* events)
    : platform_(platform), events_(events) {
    tmrMain.onTimer = handlerFor(&FrmGulpo::tmrMain_Timer, Handler::tick);
    tmrGhost1.onTimer = handlerFor(&FrmGulpo::tmrGhost1_Timer, Handler::ghost, 1);
    tmrGhost2.onTimer = handlerFor(&FrmGulpo::tmrGhost2_Timer, Handler::ghost, 2);
    tmrGhost3.onTimer = handlerFor(&FrmGulpo::tmrGhost3_Timer, Handler::ghost, 3);
    cmdStart.onClick = handlerFor(&FrmGulpo::cmdStart_Click, Handler::start);
    cmdAbout.onClick = handlerFor(&FrmGulpo::cmdAbout_Click, Handler::about);
    frmGulpo.onKeyDown = [this](int keyCode) {
        Form_KeyDown(keyCode);
        tellWatcher(Handler::key, keyCode);
    };
    // Closing the main window ends the program.
    frmGulpo.onFrameClose = [this] { platform_.endProgram(); };
}

FrmGulpo::~FrmGulpo() = default;

void FrmGulpo::load() {
    attach(platform_);
    platform_.dispatch(handlerFor(&FrmGulpo::Form_Load, Handler::load));
    frmGulpo.setVisible(true);
}

void FrmGulpo::headUp(Ghost g) {
    g.dy = -kGhostStep;
    g.dx = 0;
}

std::function<void()> FrmGulpo::handlerFor(void (FrmGulpo::*handler)(), Handler which, int detail) {
    return [this, handler, which, detail] {
        (this->*handler)();
        tellWatcher(which, detail);
    };
}

void FrmGulpo::tellWatcher(Handler which, int detail) {
    if (events_ != nullptr) {
        events_->handlerReturned(which, detail);
    }
}

}  // namespace game
