#include "game/frm_gulpo.h"
#include "platform/form.h"

namespace game {

// An arrow key sets the player's step (the tick applies it) and turns the
// player at once; a turn always stops motion on the other axis.
void FrmGulpo::Form_KeyDown(Int16 keyCode) {
    switch (keyCode) {
        case platform::keys::kLeft:
            PlayerDX = -kPlayerStep;
            PlayerDY = 0;
            imgGulpo.setPicture(imgGulpoLeft.picture());
            break;
        case platform::keys::kUp:
            PlayerDY = -kPlayerStep;
            PlayerDX = 0;
            imgGulpo.setPicture(imgGulpoUp.picture());
            break;
        case platform::keys::kRight:
            PlayerDX = kPlayerStep;
            PlayerDY = 0;
            imgGulpo.setPicture(imgGulpoRight.picture());
            break;
        case platform::keys::kDown:
            PlayerDY = kPlayerStep;
            PlayerDX = 0;
            imgGulpo.setPicture(imgGulpoDown.picture());
            break;
        default:
            break;
    }
}

}  // namespace game
