#include "game/frm_gulpo.h"

namespace game {

namespace {

// The player reaches a dot when the dot's top-left corner lies strictly
// inside the player's box; only the dot's corner counts, not its size.
bool reaches(const platform::Image& p, const platform::Shape& d) {
    return p.Left() + p.Width() > d.Left() && d.Left() > p.Left() && p.Top() < d.Top() &&
           p.Top() + p.Height() > d.Top() && d.Visible();
}

constexpr int kDotPoints = 100;
constexpr int kBigDotPoints = 200;

}  // namespace

// Every dot is tested every tick, so two dots reached at once both score.
void FrmGulpo::eatDots() {
    for (int i = 0; i < shpFood.size(); ++i) {
        if (reaches(imgGulpo, shpFood(i))) {
            shpFood(i).setVisible(false);
            Score = Score + kDotPoints;
            platform_.Beep();
            showScore();
        }
    }
}

// A big dot makes no sound and leaves the score label behind until the next
// refresh.
void FrmGulpo::eatBigDots() {
    for (int i = 0; i < shpBig.size(); ++i) {
        if (reaches(imgGulpo, shpBig(i))) {
            shpBig(i).setVisible(false);
            Score = Score + kBigDotPoints;
            frightenGhosts();
        }
    }
}

}  // namespace game
