#include "app/desktop/icon_svg.h"

#include <array>
#include <cstdio>

namespace desktop {

namespace {

std::string hexColour(platform::Colour c) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "#%02x%02x%02x", platform::redOf(c),
                  platform::greenOf(c), platform::blueOf(c));
    return text.data();
}

}  // namespace

std::string iconSvg(const platform::Raster& r) {
    const std::string w = std::to_string(r.width);
    const std::string h = std::to_string(r.height);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
        w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
        "\" shape-rendering=\"crispEdges\">\n";
    for (int y = 0; y < r.height; ++y) {
        int x = 0;
        while (x < r.width) {
            const platform::Colour c = r.at(x, y);
            int end = x + 1;
            while (end < r.width && r.at(end, y) == c) {
                ++end;
            }
            if (c != platform::rgb(0, 0, 0)) {
                svg += "  <rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
                       "\" width=\"" + std::to_string(end - x) + "\" height=\"1\" fill=\"" +
                       hexColour(c) + "\"/>\n";
            }
            x = end;
        }
    }
    svg += "</svg>\n";
    return svg;
}

}  // namespace desktop
