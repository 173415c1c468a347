#include "game/frm_gulpo.h"
#include "platform/number_text.h"

namespace game {

namespace {

// The player reaches a dot when the dot's top-left corner lies strictly
// inside the player's box; only the dot's corner counts, not its size.
// The player's box as the reach test reads it; the player does not move
// while the dots are tested.
struct Reach {
    float left;
    float right;
    float top;
    float bottom;

    explicit Reach(const platform::Image& p)
        : left(p.Left()), right(p.Left() + p.Width()), top(p.Top()), bottom(p.Top() + p.Height()) {}

    // A hidden dot is ruled out first: it is the cheapest test and, late in
    // a level, the one that most often fails.
    bool reaches(const platform::Shape& d) const {
        return d.Visible() && right > d.Left() && d.Left() > left && top < d.Top() &&
               bottom > d.Top();
    }
};

constexpr int kDotPoints = 100;
constexpr int kBigDotPoints = 200;

}  // namespace

// Every dot is tested every tick, so two dots reached at once both score.
void FrmGulpo::eatDots() {
    const Reach player(imgGulpo);
    for (int i = 0; i < shpFood.size(); ++i) {
        if (player.reaches(shpFood(i))) {
            shpFood(i).setVisible(false);
            Score = Score + kDotPoints;
            platform_.Beep();
            showScore();
        }
    }
}

// The score label shows the score only where a rule refreshes it: a big dot
// and Start leave it behind.
void FrmGulpo::showScore() {
    lblScore.setCaption(platform::numberText(Score));
}

// A big dot makes no sound and leaves the score label behind until the next
// refresh.
void FrmGulpo::eatBigDots() {
    const Reach player(imgGulpo);
    for (int i = 0; i < shpBig.size(); ++i) {
        if (player.reaches(shpBig(i))) {
            shpBig(i).setVisible(false);
            Score = Score + kBigDotPoints;
            frightenGhosts();
        }
    }
}

// The dots eaten so far, counted afresh from the maze; big dots do not
// count.
int FrmGulpo::hiddenDots() const {
    int hidden = 0;
    for (int i = 0; i < shpFood.size(); ++i) {
        if (!shpFood(i).Visible()) {
            ++hidden;
        }
    }
    return hidden;
}

// Every dot and big dot back in the maze, for the next level or game.
void FrmGulpo::refillMaze() {
    for (int i = 0; i < shpFood.size(); ++i) {
        shpFood(i).setVisible(true);
    }
    for (int i = 0; i < shpBig.size(); ++i) {
        shpBig(i).setVisible(true);
    }
}

}  // namespace game
