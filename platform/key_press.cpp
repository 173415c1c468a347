#include "platform/key_press.h"

#include "platform/form.h"

namespace platform {

std::optional<Input> keyPress(std::string_view form, int code, bool alt) {
    if (alt && code >= 'A' && code <= 'Z') {
        return Input{Input::Kind::accessKey, form, code, {}};
    }
    switch (code) {
        case keys::kTab:
        case keys::kEnter:
        case keys::kSpace:
        case keys::kLeft:
        case keys::kUp:
        case keys::kRight:
        case keys::kDown:
            return Input{Input::Kind::key, form, code, {}};
        default:
            // No handler of the game reads any other key.
            return std::nullopt;
    }
}

}  // namespace platform
