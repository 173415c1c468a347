#pragma once

namespace platform {

// Qt ends the program when its connection to the display server breaks,
// right after a warning that says so: the X11 plugin with exit(1), the
// Wayland one with _exit(1), which leaves no other way in. From here on
// `then` is called in place of that warning, from whichever thread found
// the break, and must end the program itself. Qt's other messages go on as
// before.
void whenTheDisplayGoes(void (*then)());

}  // namespace platform
