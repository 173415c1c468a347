#include "tests/window/scene_pixels.h"

#include <iomanip>
#include <sstream>

#include "playfield/layout.h"

namespace window_test {

std::string hex(std::uint32_t rgb) {
    std::ostringstream s;
    s << "#" << std::hex << std::setw(6) << std::setfill('0') << rgb;
    return s.str();
}

std::string PixelRect::describe() const {
    std::ostringstream s;
    s << "x " << left << ".." << right - 1 << ", y " << top << ".." << bottom - 1;
    return s.str();
}

PixelRect pixelsOf(const platform::Box& box, const platform::TwipsMapping& mapping, int margin) {
    return {mapping.x(box.left) - margin, mapping.y(box.top) - margin,
            mapping.x(box.left + box.width) + margin, mapping.y(box.top + box.height) + margin};
}

platform::Colour modelAt(const platform::Form& form, const platform::TwipsMapping& mapping, int px,
                         int py) {
    return form.Point(mapping.twipsX(px), mapping.twipsY(py));
}

std::string WallComparison::describe(const Screenshot& shot) const {
    std::ostringstream s;
    s << mismatches << " of " << static_cast<long>(shot.width) * shot.height
      << " pixels disagree with the maze (" << modelWalls << " wall pixels in the model, "
      << shownBlue << " pure blue on screen)";
    if (!firstMismatches.empty()) {
        s << "; the first ones:";
        for (const std::string& m : firstMismatches) {
            s << "\n  " << m;
        }
    }
    return s.str();
}

WallComparison compareWalls(const Screenshot& shot, const platform::Form& model,
                            const platform::TwipsMapping& mapping) {
    WallComparison c;
    for (int py = 0; py < shot.height; ++py) {
        for (int px = 0; px < shot.width; ++px) {
            const platform::Colour m = modelAt(model, mapping, px, py);
            const bool wall = m == playfield::WallColour;
            const bool blue = shot.at(px, py) == kWallShown;
            c.modelWalls += wall ? 1 : 0;
            c.shownBlue += blue ? 1 : 0;
            if (wall != blue) {
                ++c.mismatches;
                if (c.firstMismatches.size() < 10) {
                    std::ostringstream s;
                    s << "(" << px << "," << py << ") shows " << hex(shot.at(px, py))
                      << ", model has " << (wall ? "a wall" : "no wall") << " (" << hex(rgbOf(m))
                      << ")";
                    c.firstMismatches.push_back(s.str());
                }
            }
        }
    }
    return c;
}

long differingPixels(const Screenshot& shot, const platform::Form& model, const PixelRect& area,
                     const platform::TwipsMapping& mapping) {
    long n = 0;
    for (int py = area.top; py < area.bottom; ++py) {
        for (int px = area.left; px < area.right; ++px) {
            n += shot.at(px, py) != rgbOf(modelAt(model, mapping, px, py)) ? 1 : 0;
        }
    }
    return n;
}

StartButtonArea::StartButtonArea(const platform::TwipsMapping& mapping)
    : mapping_(mapping), pixels_(pixelsOf(bare_.cmdStart.box(), mapping)) {
    bare_.cmdStart.setVisible(false);
    bare_.cmdAbout.setVisible(false);
}

long StartButtonArea::differing(const Screenshot& shot) const {
    return differingPixels(shot, bare_.frmGulpo, pixels_, mapping_);
}

}  // namespace window_test
