#include "game/frm_gulpo.h"
#include "platform/number_text.h"

namespace game {

namespace {

struct Spot {
    float left;
    float top;
};

// Where the ghosts stand after a lost life: where they stood at load.
constexpr Spot kAfterLostLife[] = {{3120, 2880}, {3000, 2880}, {3000, 2760}};
// Where they stand after the game is over, by the ghost that ended it.
constexpr Spot kGameOverByGhost1[] = {{3120, 2880}, {3000, 2880}, {3120, 2880}};
constexpr Spot kGameOverByOthers[] = {{2880, 2880}, {3000, 2880}, {3120, 2880}};

}  // namespace

// A ghost costs a life only while its frightened timer is off.
void FrmGulpo::harmBy(Ghost g) {
    if (!touches(g) || g.timer.Enabled()) {
        return;
    }
    loseLife();
    if (Lives == 0) {
        gameOver(g.number);
    }
}

void FrmGulpo::harmByGhost1() {
    harmBy(ghost(1));
}
void FrmGulpo::harmByGhost2() {
    harmBy(ghost(2));
}
void FrmGulpo::harmByGhost3() {
    harmBy(ghost(3));
}

// The game stands still for two seconds, then everyone goes back to their
// spots; keys pressed during the pause are forgotten.
void FrmGulpo::loseLife() {
    Wait(2000);
    imgGulpo.setLeft(PlayerStartLeft.asTwips());
    imgGulpo.setTop(PlayerStartTop.asTwips());
    imgGulpo.setPicture(imgGulpoRight.picture());
    PlayerDX = 0;
    PlayerDY = 0;
    place(imgGhost1, kAfterLostLife[0].left, kAfterLostLife[0].top);
    place(imgGhost2, kAfterLostLife[1].left, kAfterLostLife[1].top);
    Ghost1DY = -kGhostStep;
    Ghost1DX = 0;
    Ghost2DY = -kGhostStep;
    Ghost2DX = 0;
    place(imgGhost3, kAfterLostLife[2].left, kAfterLostLife[2].top);
    Ghost3DY = -kGhostStep;
    Ghost3DX = 0;
    Lives = Lives - 1;
    lblLives.setCaption(platform::numberText(Lives));
    makeNormal(ghost(1));
    makeNormal(ghost(2));
    makeNormal(ghost(3));
}

// The last life is gone: play stops and the maze is made ready for the next
// game. The lives label keeps showing 0 until Start.
void FrmGulpo::gameOver(int harmingGhost) {
    tmrMain.setInterval(0);
    cmdStart.setVisible(true);
    cmdAbout.setVisible(true);
    Level = 1;
    lblLevel.setCaption("1");
    Lives = 3;
    const Spot* spots = harmingGhost == 1 ? kGameOverByGhost1 : kGameOverByOthers;
    place(imgGhost1, spots[0].left, spots[0].top);
    place(imgGhost2, spots[1].left, spots[1].top);
    place(imgGhost3, spots[2].left, spots[2].top);
    refillMaze();
}

}  // namespace game
