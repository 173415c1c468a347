#pragma once

#include <QImage>

#include "platform/picture.h"

namespace app {

// The game's icon: the player's picture, its black background made clear,
// scaled up without smoothing so the pixel art stays crisp.
QImage gameIcon(const platform::Raster& player, int size);

}  // namespace app
