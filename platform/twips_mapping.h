#pragma once

#include "platform/element.h"

namespace platform {

// A rectangle of a window's pixels.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
};

// Maps twips of a form's client area to pixels of the window showing it, the
// screen's own pixels at any scale: the scene is scaled to fit, keeping its
// proportions, and centred. An element edge at t twips falls on the pixel
// boundary nearest t / twipsPerPixel, so a pixel is painted by an element
// exactly when its centre lies inside it.
struct TwipsMapping {
    // A window's size at its design scale.
    static constexpr double kDesignTwipsPerPixel = 15.0;

    double twipsPerPixel = kDesignTwipsPerPixel;
    int offsetX = 0;
    int offsetY = 0;

    int x(double twips) const;
    int y(double twips) const;
    PixelRect rect(const Box& box) const;
    // The twips at the centre of pixel (px, py), for the colour query.
    float twipsX(int px) const;
    float twipsY(int py) const;

    static TwipsMapping fit(int clientWidthTwips, int clientHeightTwips, int widthPx, int heightPx);
};

// The pixel boundary nearest a length in pixels.
int pixelEdge(double pixels);

}  // namespace platform
