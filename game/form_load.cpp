#include "game/frm_gulpo.h"

namespace game {

void FrmGulpo::Form_Load() {
    Ghost1DY = -kGhostStep;
    Ghost1DX = 0;
    Ghost2DY = -kGhostStep;
    Ghost2DX = 0;
    Ghost3DY = -kGhostStep;
    Ghost3DX = 0;
    PlayerStartLeft = Int16::fromTwips(imgGulpo.Left());
    PlayerStartTop = Int16::fromTwips(imgGulpo.Top());
    Lives = 3;
    Level = 1;
    // The tick waits for Start although its design-time interval is 1.
    tmrMain.setInterval(0);
}

}  // namespace game
