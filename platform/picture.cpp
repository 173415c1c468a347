#include "platform/picture.h"

#include <atomic>
#include <stdexcept>
#include <string>

namespace platform {

namespace {

std::uint32_t nextHandle() {
    static std::atomic<std::uint32_t> counter{0};
    return ++counter;
}

}  // namespace

Picture Picture::empty() {
    return Picture(std::make_shared<const Object>(Object{nextHandle(), Raster{}}));
}

Picture Picture::fromRaster(Raster raster) {
    return Picture(std::make_shared<const Object>(Object{nextHandle(), std::move(raster)}));
}

Raster rasterFromPixelMap(const std::vector<std::string_view>& rows,
                          const std::vector<PaletteEntry>& palette) {
    Raster r;
    r.height = static_cast<int>(rows.size());
    r.width = rows.empty() ? 0 : static_cast<int>(rows.front().size());
    r.pixels.reserve(static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        if (static_cast<int>(rows[y].size()) != r.width) {
            throw std::invalid_argument("pixel map row " + std::to_string(y) + " has " +
                                        std::to_string(rows[y].size()) + " pixels, expected " +
                                        std::to_string(r.width));
        }
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            const char c = rows[y][x];
            bool found = false;
            for (const auto& entry : palette) {
                if (entry.symbol == c) {
                    r.pixels.push_back(entry.colour);
                    found = true;
                    break;
                }
            }
            if (!found) {
                throw std::invalid_argument("pixel map row " + std::to_string(y) + " column " +
                                            std::to_string(x) + ": no colour for '" +
                                            std::string(1, c) + "'");
            }
        }
    }
    return r;
}

}  // namespace platform
