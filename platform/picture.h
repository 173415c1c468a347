#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/colour.h"

namespace platform {

// A raster image: width x height colours, row by row from the top left.
struct Raster {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;

    Colour at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// A reference to a shared picture object. Copying a Picture shares the object,
// so two sprites given the same Picture show the very same object and report
// the same Handle. Every object, the empty ones too, has its own Handle.
class Picture {
  public:
    // A fresh empty picture object (shows nothing).
    static Picture empty();
    static Picture fromRaster(Raster raster);

    std::uint32_t Handle() const { return object_->handle; }
    bool isEmpty() const { return object_->raster.width == 0 || object_->raster.height == 0; }
    const Raster& raster() const { return object_->raster; }

    friend bool operator==(const Picture& a, const Picture& b) { return a.object_ == b.object_; }

  private:
    struct Object {
        std::uint32_t handle;
        Raster raster;
    };
    explicit Picture(std::shared_ptr<const Object> object) : object_(std::move(object)) {}

    std::shared_ptr<const Object> object_;
};

// One palette entry of a text pixel map: the character and its colour.
struct PaletteEntry {
    char symbol;
    Colour colour;
};

// Turns a text pixel map (one string per row, one character per pixel) into a
// raster. Every character must be in the palette and every row the same
// length; a fault throws std::invalid_argument naming the row and column.
Raster rasterFromPixelMap(const std::vector<std::string_view>& rows,
                          const std::vector<PaletteEntry>& palette);

}  // namespace platform
