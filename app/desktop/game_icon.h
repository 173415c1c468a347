#pragma once

#include <QImage>

#include "platform/picture.h"

namespace desktop {

// The game's icon at size x size: the player's picture with its black
// background made clear, never smoothed, so the pixel art stays crisp. Where
// a whole number of icon pixels per art pixel fills most of the icon, the art
// is drawn that many times larger and centred, every art pixel a square;
// otherwise (the small sizes and 48) it is stretched to fill the icon.
QImage gameIcon(const platform::Raster& player, int size);

}  // namespace desktop
