#include "game/frm_gulpo.h"
#include "platform/number_text.h"

namespace game {

void FrmGulpo::checkLevelComplete() {
    DotsEaten = DotsEaten + hiddenDots();
    if (DotsEaten == playfield::kDotCount) {
        completeLevel();
    } else {
        DotsEaten = 0;
    }
}

// Play stops until Start; the fruit can come again on the next level, and
// ghost 3 waits at 3100, not 3120.
void FrmGulpo::completeLevel() {
    tmrMain.setInterval(0);
    cmdStart.setVisible(true);
    cmdAbout.setVisible(true);
    imgFruit.setVisible(true);
    place(imgGhost2, 3000, 2880);
    headUp(ghost(2));
    place(imgGhost1, 2880, 2880);
    headUp(ghost(1));
    place(imgGhost3, 3100, 2880);
    headUp(ghost(3));
    place(imgGulpo, PlayerStartLeft.asTwips(), PlayerStartTop.asTwips());
    PlayerDX = 0;
    PlayerDY = 0;
    Level = Level + 1;
    lblLevel.setCaption(platform::numberText(Level));
    makeNormal(ghost(1));
    makeNormal(ghost(2));
    makeNormal(ghost(3));
    refillMaze();
}

}  // namespace game
