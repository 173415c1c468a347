#include "game/frm_gulpo.h"

namespace game {

namespace {

constexpr int kBlueGhostPoints = 1000;

struct ReturnPoint {
    int ghost;
    float left;
    float top;
    bool topFirst;
};

// Eaten ghosts go back to the pen, ghost 2 first, then 1, then 3. Ghosts 2
// and 3 return to (2880, 2880), not to where they started.
constexpr ReturnPoint kReturnPoints[] = {
    {2, 2880, 2880, true},
    {1, 3120, 2880, false},
    {3, 2880, 2880, true},
};

}  // namespace

bool FrmGulpo::isBlue(const Ghost& g) const {
    return g.sprite.picture().Handle() == imgBlue.picture().Handle();
}

// The two Lefts differ by less than the ghost's width and the two Tops by
// less than its height; the player's own size plays no part.
bool FrmGulpo::touches(const Ghost& g) const {
    const platform::Image& s = g.sprite;
    const platform::Image& p = imgGulpo;
    return s.Left() - s.Width() < p.Left() && s.Left() + s.Width() > p.Left() &&
           s.Top() - s.Height() < p.Top() && s.Top() + s.Height() > p.Top();
}

// A big dot turns every ghost blue and gives all three a full ten seconds
// afresh, whatever state each was in.
void FrmGulpo::frightenGhosts() {
    imgGhost1.setPicture(imgBlue.picture());
    imgGhost2.setPicture(imgBlue.picture());
    imgGhost3.setPicture(imgBlue.picture());
    tmrGhost1.setEnabled(false);
    tmrGhost2.setEnabled(false);
    tmrGhost3.setEnabled(false);
    tmrGhost1.setEnabled(true);
    tmrGhost2.setEnabled(true);
    tmrGhost3.setEnabled(true);
    tmrGhost1.setInterval(playfield::kFrightenedMs);
    tmrGhost2.setInterval(playfield::kFrightenedMs);
    tmrGhost3.setInterval(playfield::kFrightenedMs);
}

// The blue picture and the running timer always change together.
void FrmGulpo::makeNormal(Ghost g) {
    g.timer.setEnabled(false);
    g.sprite.setPicture(g.real.picture());
}

// The frightened time is up: the ghost is normal again.
void FrmGulpo::unfrighten(Ghost g) {
    if (g.timer.Enabled() && isBlue(g)) {
        g.sprite.setPicture(g.real.picture());
        g.timer.setEnabled(false);
        return;
    }
    // Never expected; keep the two signs of the state together anyway.
    makeNormal(g);
}

void FrmGulpo::tmrGhost1_Timer() {
    unfrighten(ghost(1));
}
void FrmGulpo::tmrGhost2_Timer() {
    unfrighten(ghost(2));
}
void FrmGulpo::tmrGhost3_Timer() {
    unfrighten(ghost(3));
}

void FrmGulpo::eatBlueGhosts() {
    for (const ReturnPoint& spot : kReturnPoints) {
        Ghost g = ghost(spot.ghost);
        if (!touches(g) || !isBlue(g)) {
            continue;
        }
        Score = Score + kBlueGhostPoints;
        showScore();
        if (spot.topFirst) {
            g.sprite.setTop(spot.top);
            g.sprite.setLeft(spot.left);
        } else {
            place(g.sprite, spot.left, spot.top);
        }
        headUp(g);
        g.timer.setEnabled(false);
        g.sprite.setPicture(g.real.picture());
    }
}

}  // namespace game
