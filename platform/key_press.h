#pragma once

#include <optional>
#include <string_view>

#include "platform/input.h"

namespace platform {

// What a key pressed in one of the game's windows amounts to, whatever the
// window system calls its keys. `code` is the key's virtual key code, the
// toolkit's own (keys::kLeft, ..., and a letter's capital, 'A' to 'Z'): Alt
// with a letter presses that letter's access key, a key that the game or
// the focus rules read is a key press, and any other key is nothing.
std::optional<Input> keyPress(std::string_view form, int code, bool alt);

}  // namespace platform
