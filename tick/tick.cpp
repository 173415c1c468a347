#include "game/frm_gulpo.h"

namespace game {

// One step of the game. Every phase runs, in this order, whatever happened
// earlier in the tick: a lost life, a game over or a completed level does
// not cut it short.
void FrmGulpo::tmrMain_Timer() {
    moveActors();            // 1  the player and the ghosts take their steps
    bouncePlayerOffWalls();  // 2  the player stops in front of walls
    flipCoin();              // 3  the ghosts' coin for this tick
    wrapThroughTunnel();     // 4  the player runs through the side tunnel
    steerGhosts();           // 5  ghosts bounce off walls and turn
    eatDots();               // 6  dots: 100 points and a beep each
    eatBigDots();            // 7  big dots: 200 points, the ghosts turn blue
    harmByGhost1();          // 8  ghost 1 may cost a life
    eatBlueGhosts();         // 9  blue ghosts go back to the pen for 1000
    harmByGhost2();          // 10 ghost 2 may cost a life
    harmByGhost3();          // 11 ghost 3 may cost a life
    checkLevelComplete();    // 12 all 76 dots eaten: the level ends
    bonusFruit();            // 13 the level's fruit comes and can be eaten
}

}  // namespace game
