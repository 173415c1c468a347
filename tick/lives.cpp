#include "game/frm_gulpo.h"
#include "platform/number_text.h"

namespace game {

namespace {

struct Spot {
    float left;
    float top;
};

// Where they stand after the game is over, by the ghost that ended it.
constexpr Spot kGameOverByGhost1[] = {{3120, 2880}, {3000, 2880}, {3120, 2880}};
constexpr Spot kGameOverByOthers[] = {{2880, 2880}, {3000, 2880}, {3120, 2880}};

void placeAtDesign(platform::Image& sprite) {
    const playfield::BoxRow& design = playfield::spriteRow(sprite.name());
    place(sprite, static_cast<float>(design.left), static_cast<float>(design.top));
}

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
    // The ghosts go back to where they stood at load.
    placeAtDesign(imgGhost1);
    placeAtDesign(imgGhost2);
    headUp(ghost(1));
    headUp(ghost(2));
    placeAtDesign(imgGhost3);
    headUp(ghost(3));
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
    Lives = kLivesPerGame;
    const Spot* spots = harmingGhost == 1 ? kGameOverByGhost1 : kGameOverByOthers;
    place(imgGhost1, spots[0].left, spots[0].top);
    place(imgGhost2, spots[1].left, spots[1].top);
    place(imgGhost3, spots[2].left, spots[2].top);
    refillMaze();
}

}  // namespace game
