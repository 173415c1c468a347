#pragma once

namespace desktop {

// Whether the toolkit has somewhere to show the game: a platform named on
// the command line (-platform) or in QT_QPA_PLATFORM, an X display in
// DISPLAY, or a Wayland socket (WAYLAND_DISPLAY, or wayland-0 in
// XDG_RUNTIME_DIR). Without one the toolkit would abort.
bool graphicalSessionFound(int argc, char** argv);

// What the program says, on one line, when there is none.
inline constexpr const char* kNoGraphicalSession =
    "gulpo: no graphical session found (no X display, no Wayland socket); start it from a "
    "desktop session, or set DISPLAY or WAYLAND_DISPLAY";

}  // namespace desktop
