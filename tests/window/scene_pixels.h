#pragma once

// The scene as the window shows it: the pixels an element covers and the
// model's colour at a pixel, by the desktop backend's own twips-to-pixels
// mapping, so that a test compares the screen with what the backend meant
// to paint there.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/colour.h"
#include "platform/element.h"
#include "platform/form.h"
#include "platform/qt/form_window.h"
#include "playfield/playfield.h"
#include "sessions/artifact.h"

namespace window_test {

// The tests speak of the sessions' machinery by its own names.
using namespace sessions;

// A colour as the screen holds it, 0x00RRGGBB, and written as #rrggbb.
constexpr std::uint32_t rgbOf(platform::Colour c) {
    return (platform::redOf(c) << 16) | (platform::greenOf(c) << 8) | platform::blueOf(c);
}
// The walls' pure blue, as the screen holds it.
inline constexpr std::uint32_t kWallShown = rgbOf(playfield::WallColour);
// The player's body and the dots, pure yellow.
inline constexpr std::uint32_t kPureYellow = rgbOf(playfield::DotColour);
std::string hex(std::uint32_t rgb);

// A box of the scene in whole pixels, right and bottom exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    long area() const { return static_cast<long>(right - left) * (bottom - top); }
    std::string describe() const;
};

// The pixels the backend paints for `box`, widened by `margin` on each side.
PixelRect pixelsOf(const platform::Box& box, const platform::TwipsMapping& mapping, int margin = 0);

// The model's colour at the centre of pixel (px, py).
platform::Colour modelAt(const platform::Form& form, const platform::TwipsMapping& mapping, int px,
                         int py);

// Where the window shows pure blue and where the model has walls.
struct WallComparison {
    long modelWalls = 0;
    long shownBlue = 0;
    long mismatches = 0;
    std::vector<std::string> firstMismatches;

    std::string describe(const Screenshot& shot) const;
};

WallComparison compareWalls(const Screenshot& shot, const platform::Form& model,
                            const platform::TwipsMapping& mapping);

// How many pixels of `area` differ from what `model` has there.
long differingPixels(const Screenshot& shot, const platform::Form& model, const PixelRect& area,
                     const platform::TwipsMapping& mapping);

// The main window's Start button on screen, told from the window as it is
// once Start has hidden both buttons.
class StartButtonArea {
  public:
    explicit StartButtonArea(const platform::TwipsMapping& mapping);

    const PixelRect& pixels() const { return pixels_; }
    // How many of its pixels differ from the bare window.
    long differing(const Screenshot& shot) const;
    // The button's face covers most of its area.
    bool faceShows(const Screenshot& shot) const { return differing(shot) * 2 > pixels_.area(); }
    // Not a pixel of it is left.
    bool gone(const Screenshot& shot) const { return differing(shot) == 0; }

  private:
    platform::TwipsMapping mapping_;
    playfield::Playfield bare_;
    PixelRect pixels_;
};

}  // namespace window_test
