#include "game/frm_gulpo.h"

namespace game {

void FrmGulpo::Form_Load() {
    headUp(ghost(1));
    headUp(ghost(2));
    headUp(ghost(3));
    PlayerStartLeft = Int16::fromTwips(imgGulpo.Left());
    PlayerStartTop = Int16::fromTwips(imgGulpo.Top());
    Lives = kLivesPerGame;
    Level = 1;
    // The tick waits for Start although its design-time interval is 1.
    tmrMain.setInterval(0);
}

}  // namespace game
