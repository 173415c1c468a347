#include "game/frm_gulpo.h"
#include "platform/number_text.h"

namespace game {

void FrmGulpo::cmdStart_Click() {
    // The score label keeps its text until points are next scored.
    Score = 0;
    lblLives.setCaption(platform::numberText(Lives));
    DotsEaten = 0;
    FruitDotsEaten = 0;
    imgFruit.setPicture(imgBlank.picture());
    lblLevel.setCaption(platform::numberText(Level));
    // With both buttons gone the window itself gets the arrow keys.
    cmdStart.setVisible(false);
    cmdAbout.setVisible(false);
    Wait(2000);
    tmrMain.setInterval(1);
}

}  // namespace game
