#include "game/frm_gulpo.h"

namespace game {

namespace {

// The fruit comes into view on the tick with exactly this many dots eaten.
constexpr int kDotsForFruit = 45;
constexpr int kFruitPoints = 500;

}  // namespace

void FrmGulpo::putUpOrEatFruit() {
    FruitDotsEaten = FruitDotsEaten + hiddenDots();
    // A cherry on level 1, a strawberry on 2, a peach on 3, an apple on 4;
    // no fruit from level 5 on.
    const platform::Image* byLevel[] = {&imgCherry, &imgStrawberry, &imgPeach, &imgApple};
    for (int level = 1; level <= 4; ++level) {
        if (imgFruit.Visible() && FruitDotsEaten == kDotsForFruit && Level == level) {
            imgFruit.setPicture(byLevel[level - 1]->picture());
        }
    }
    FruitDotsEaten = 0;

    // Only the player's top-left corner and the fruit's own size count.
    for (const platform::Image* store : byLevel) {
        const platform::Image& f = imgFruit;
        const platform::Image& p = imgGulpo;
        if (f.picture().Handle() == store->picture().Handle() && f.Left() - f.Width() < p.Left() &&
            p.Left() < f.Left() + f.Width() && f.Top() - f.Height() < p.Top() &&
            p.Top() < f.Top() + f.Height()) {
            imgFruit.setPicture(imgBlank.picture());
            imgFruit.setVisible(false);
            Score = Score + kFruitPoints;
            showScore();
        }
    }
}

}  // namespace game
