#pragma once

#include <string>

#include "platform/picture.h"

namespace desktop {

// The game's icon as a scalable picture: one square per art pixel (a row's
// runs of one colour merged), black left clear, edges kept sharp at any size.
std::string iconSvg(const platform::Raster& player);

}  // namespace desktop
