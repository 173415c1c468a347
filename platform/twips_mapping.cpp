#include "platform/twips_mapping.h"

#include <algorithm>
#include <cmath>

namespace platform {

int pixelEdge(double pixels) {
    return static_cast<int>(std::ceil(pixels - 0.5));
}

int TwipsMapping::x(double twips) const {
    return offsetX + pixelEdge(twips / twipsPerPixel);
}

int TwipsMapping::y(double twips) const {
    return offsetY + pixelEdge(twips / twipsPerPixel);
}

PixelRect TwipsMapping::rect(const Box& box) const {
    const int x0 = x(box.left);
    const int y0 = y(box.top);
    return PixelRect{x0, y0, x(static_cast<double>(box.left) + box.width) - x0,
                     y(static_cast<double>(box.top) + box.height) - y0};
}

float TwipsMapping::twipsX(int px) const {
    return static_cast<float>((px - offsetX + 0.5) * twipsPerPixel);
}

float TwipsMapping::twipsY(int py) const {
    return static_cast<float>((py - offsetY + 0.5) * twipsPerPixel);
}

TwipsMapping TwipsMapping::fit(int clientWidthTwips, int clientHeightTwips, int widthPx,
                               int heightPx) {
    TwipsMapping m;
    const double byWidth = static_cast<double>(clientWidthTwips) / std::max(widthPx, 1);
    const double byHeight = static_cast<double>(clientHeightTwips) / std::max(heightPx, 1);
    m.twipsPerPixel = std::max(byWidth, byHeight);
    m.offsetX = (widthPx - pixelEdge(clientWidthTwips / m.twipsPerPixel)) / 2;
    m.offsetY = (heightPx - pixelEdge(clientHeightTwips / m.twipsPerPixel)) / 2;
    return m;
}

}  // namespace platform
