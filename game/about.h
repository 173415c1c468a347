#pragma once

#include "platform/element.h"
#include "platform/form.h"

namespace game {

// The About window: the game's name, a credit line and the instructions.
// It shares no state with the game.
class FrmAbout {
  public:
    FrmAbout();

    platform::Form frmAbout;
    platform::Label Label1;
    platform::Label Label2;
    platform::Label Label3;
    platform::CommandButton cmdClose;
};

}  // namespace game
