#include "game/about.h"

#include "game/frm_gulpo.h"

namespace game {

namespace {

platform::LabelStyle plainLabel() {
    platform::LabelStyle style;
    style.platformDefault = true;
    style.transparent = true;
    // A little smaller than the main window's, so that every line fits.
    style.textTwips = 150;
    return style;
}

}  // namespace

FrmAbout::FrmAbout()
    : frmAbout("frmAbout", "About Gulpo", 4785, 3330, platform::kButtonFace),
      Label1("Label1", {1800, 120, 735, 255}, "Gulpo", plainLabel()),
      Label2("Label2", {1080, 480, 2295, 255}, "Programmed By Gulpo's team", plainLabel()),
      Label3("Label3", {480, 1080, 3975, 855},
             "Instructions: Use arrow keys to move Gulpo. Collect food while avoiding the "
             "ghosts. Eat the big food to make the ghosts edible. As you reach higher levels, "
             "new fruits become available.",
             plainLabel()),
      cmdClose("cmdClose", {1800, 2640, 975, 495}, "&Close") {
    frmAbout.add(Label1);
    frmAbout.add(Label2);
    frmAbout.add(Label3);
    // Enter presses Close, as it presses Start in the main window.
    frmAbout.addButton(cmdClose, true);
}

// Opens the About window, creating it on first use; one at most, ever.
void FrmGulpo::cmdAbout_Click() {
    if (!frmAbout_) {
        frmAbout_ = std::make_unique<FrmAbout>();
        frmAbout_->cmdClose.onClick = handlerFor(&FrmGulpo::cmdClose_Click, Handler::close);
        frmAbout_->frmAbout.onFrameClose = [this] { destroyAbout(); };
        // It belongs to the game's window: the desktop keeps it over that
        // window instead of placing or tiling it as a window of its own.
        frmAbout_->frmAbout.setOwner(&frmGulpo);
        platform_.attach(frmAbout_->frmAbout);
    }
    frmAbout_->frmAbout.setVisible(true);
}

// Hides the About window; the next About shows the same window again.
void FrmGulpo::cmdClose_Click() {
    if (!frmAbout_) {
        cmdAbout_Click();
    }
    frmAbout_->frmAbout.setVisible(false);
}

// The frame's own close control destroys the window; the next About
// creates it again.
void FrmGulpo::destroyAbout() {
    frmAbout_.reset();
}

}  // namespace game
