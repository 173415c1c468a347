#include "game/frm_gulpo.h"

namespace game {

namespace {

// Twice the step: a ghost that walks into a wall ends the tick 25 twips
// farther from it than it began.
constexpr float kGhostBump = 50;

}  // namespace

void FrmGulpo::steerGhosts() {
    steerGhost(ghost(1));
    steerGhost(ghost(2));
    steerGhost(ghost(3));
}

// A ghost goes straight on until a probe finds a wall; then it is pushed
// back and turns onto the other axis. Ghosts 1 and 2 turn by the coin,
// ghost 3 turns towards the player. Later probes see earlier pushes, and the
// steps set last win.
void FrmGulpo::steerGhost(Ghost g) {
    platform::Image& s = g.sprite;
    const bool chases = g.number == 3;
    const int byCoin = CoinFlip == 0 ? kGhostStep : -kGhostStep;

    auto turnVertical = [&] {
        g.dx = 0;
        if (chases) {
            // Level with the player it goes up.
            g.dy = imgGulpo.Top() > s.Top() ? kGhostStep : -kGhostStep;
        } else {
            g.dy = byCoin;
        }
    };
    auto turnHorizontal = [&](bool wallAbove) {
        g.dy = 0;
        if (chases) {
            // In line with the player it goes right.
            g.dx = s.Left() > imgGulpo.Left() ? -kGhostStep : kGhostStep;
        } else if (g.number == 2 && wallAbove) {
            // Ghost 2 turns the other way from ghost 1 on a wall above, so
            // the two do not leave the pen together.
            g.dx = -byCoin;
        } else {
            g.dx = byCoin;
        }
    };

    if (wallAt(s.Left(), s.Top() + s.Height() / 2)) {
        s.setLeft(s.Left() + kGhostBump);
        turnVertical();
    }
    if (wallAt(s.Left() + s.Width(), s.Top() + s.Height() / 2)) {
        s.setLeft(s.Left() - kGhostBump);
        turnVertical();
    }
    if (wallAt(s.Left() + s.Width() / 2, s.Top())) {
        s.setTop(s.Top() + kGhostBump);
        turnHorizontal(true);
    }
    if (wallAt(s.Left() + s.Width() / 2, s.Top() + s.Height())) {
        s.setTop(s.Top() - kGhostBump);
        turnHorizontal(false);
    }
}

}  // namespace game
