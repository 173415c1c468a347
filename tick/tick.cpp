#include "game/frm_gulpo.h"

namespace game {

// One step of the game: its phases in their order. Every phase runs
// whatever happened earlier in the tick: a lost life, a game over or a
// completed level does not cut it short.
void FrmGulpo::tmrMain_Timer() {
    moveActors();
    bouncePlayerOffWalls();
    flipCoin();
    wrapThroughTunnel();
    steerGhosts();
    eatDots();
    eatBigDots();
    harmByGhost1();
    eatBlueGhosts();
    harmByGhost2();
    harmByGhost3();
    checkLevelComplete();
    putUpOrEatFruit();
}

}  // namespace game
