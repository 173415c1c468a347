#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// Something the player did in one of the game's windows, as the window
// system handed it over. Windows and buttons are named, not pointed at:
// the window may be gone by the time the input is delivered.
struct Input {
    enum class Kind : std::uint8_t { key, accessKey, click, frameClose };
    Kind kind = Kind::key;
    std::string_view form;    // the window's name ("frmGulpo")
    int code = 0;             // key: the toolkit's key code; accessKey: the letter, in capitals
    std::string_view button;  // click: the button's name ("cmdStart")
};

}  // namespace platform
