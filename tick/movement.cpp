#include "game/frm_gulpo.h"
#include "playfield/layout.h"

namespace game {

namespace {

// The player's bump off a wall is its step, so a player that walks into a
// wall ends the tick where it began it.
constexpr float kPlayerBump = kPlayerStep;

// The tunnel: leaving on the left puts the player at the right, and the
// other way round (at 370, not 360).
constexpr float kTunnelLeftEdge = 360;
constexpr float kTunnelRightEdge = 5650;
constexpr float kEnterFromRight = 5640;
constexpr float kEnterFromLeft = 370;

}  // namespace

// An actor sees a wall only by the colour of the window's picture at a
// point: every wall, and nothing else in the maze, is drawn in WallColour.
bool FrmGulpo::wallAt(float x, float y) const {
    return frmGulpo.Point(x, y) == playfield::WallColour;
}

void place(platform::Image& sprite, float x, float y) {
    sprite.setLeft(x);
    sprite.setTop(y);
}

void FrmGulpo::moveActors() {
    imgGulpo.setTop(imgGulpo.Top() + static_cast<float>(PlayerDY));
    imgGulpo.setLeft(imgGulpo.Left() + static_cast<float>(PlayerDX));
    for (int n = 1; n <= 3; ++n) {
        Ghost g = ghost(n);
        g.sprite.setTop(g.sprite.Top() + static_cast<float>(g.dy));
        g.sprite.setLeft(g.sprite.Left() + static_cast<float>(g.dx));
    }
}

// The four probes, left, right, top, bottom, each on the box as the
// responses before it left it.
void FrmGulpo::bouncePlayerOffWalls() {
    platform::Image& p = imgGulpo;
    if (wallAt(p.Left(), p.Top() + p.Height() / 2)) {
        PlayerDX = 0;
        p.setLeft(p.Left() + kPlayerBump);
    }
    if (wallAt(p.Left() + p.Width(), p.Top() + p.Height() / 2)) {
        PlayerDX = 0;
        p.setLeft(p.Left() - kPlayerBump);
    }
    if (wallAt(p.Left() + p.Width() / 2, p.Top())) {
        PlayerDY = 0;
        p.setTop(p.Top() + kPlayerBump);
    }
    if (wallAt(p.Left() + p.Width() / 2, p.Top() + p.Height())) {
        PlayerDY = 0;
        p.setTop(p.Top() - kPlayerBump);
    }
}

// Drawn in every tick, whether or not a ghost needs it.
void FrmGulpo::flipCoin() {
    CoinFlip = Rand(0, 1);
}

void FrmGulpo::wrapThroughTunnel() {
    if (imgGulpo.Left() < kTunnelLeftEdge) {
        imgGulpo.setLeft(kEnterFromRight);
    }
    if (imgGulpo.Left() > kTunnelRightEdge) {
        imgGulpo.setLeft(kEnterFromLeft);
    }
}

}  // namespace game
