#include "game/about.h"
#include "game/frm_gulpo.h"
#include "platform/number_text.h"

namespace game {

FrmGulpo::FrmGulpo(platform::Platform& platform, GameEvents* events)
    : platform_(platform), events_(events) {
    auto notify = [this](Handler h, int detail) {
        if (events_ != nullptr) {
            events_->handlerReturned(h, detail);
        }
    };
    tmrMain.onTimer = [this, notify] {
        tmrMain_Timer();
        notify(Handler::tick, 0);
    };
    tmrGhost1.onTimer = [this, notify] {
        tmrGhost1_Timer();
        notify(Handler::ghost, 1);
    };
    tmrGhost2.onTimer = [this, notify] {
        tmrGhost2_Timer();
        notify(Handler::ghost, 2);
    };
    tmrGhost3.onTimer = [this, notify] {
        tmrGhost3_Timer();
        notify(Handler::ghost, 3);
    };
    cmdStart.onClick = [this, notify] {
        cmdStart_Click();
        notify(Handler::start, 0);
    };
    cmdAbout.onClick = [this, notify] {
        cmdAbout_Click();
        notify(Handler::about, 0);
    };
    frmGulpo.onKeyDown = [this, notify](int keyCode) {
        Form_KeyDown(keyCode);
        notify(Handler::key, keyCode);
    };
    // Closing the main window ends the program.
    frmGulpo.onFrameClose = [this] { platform_.endProgram(); };
}

void FrmGulpo::load() {
    attach(platform_);
    platform_.dispatch([this] {
        Form_Load();
        if (events_ != nullptr) {
            events_->handlerReturned(Handler::load, 0);
        }
    });
    frmGulpo.setVisible(true);
}

void FrmGulpo::Form_Load() {
    Ghost1DY = -25;
    Ghost1DX = 0;
    Ghost2DY = -25;
    Ghost2DX = 0;
    Ghost3DY = -25;
    Ghost3DX = 0;
    PlayerStartLeft = Int16::fromTwips(imgGulpo.Left());
    PlayerStartTop = Int16::fromTwips(imgGulpo.Top());
    Lives = 3;
    Level = 1;
    // The tick waits for Start although its design-time interval is 1.
    tmrMain.setInterval(0);
}

void place(platform::Image& sprite, float x, float y) {
    sprite.setLeft(x);
    sprite.setTop(y);
}

void FrmGulpo::showScore() {
    lblScore.setCaption(platform::numberText(Score));
}

}  // namespace game
