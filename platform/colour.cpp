#include "platform/colour.h"

namespace platform {

Colour resolveColour(Colour c) {
    if ((c & kSystemColourFlag) == 0) {
        return c;
    }
    switch (c) {
        case kMenuText:
        case kWindowText:
            return rgb(0, 0, 0);
        case kButtonFace:
            return rgb(240, 240, 240);
        case kWindowBackground:
            return rgb(255, 255, 255);
        default:
            return rgb(0, 0, 0);
    }
}

}  // namespace platform
