#pragma once

#include <cstdint>
#include <vector>

#include "platform/element.h"

namespace platform {

// A grid over a window's client area that lists, for each cell, the
// elements whose boxes reach into it, in layer order. The colour query asks
// it for the few elements that can cover a point instead of walking every
// layer; moving an element moves its entries.
class SceneIndex {
  public:
    void build(const std::vector<Element*>& layers, int clientWidth, int clientHeight);
    // The element at `layer` may have a new box.
    void update(int layer, const Box& box);

    // Whether the box of the element at `layer` holds (x, y), from the
    // index's own copy: the query tests boxes without visiting elements.
    bool boxHolds(std::uint16_t layer, float x, float y) const {
        const Edges& e = edges_[layer];
        return x >= e.left && x < e.right && y >= e.top && y < e.bottom;
    }

    // The layers that may cover (x, y), bottom first.
    const std::vector<std::uint16_t>& candidates(float x, float y) const {
        // Compared as floats first: a point far away never becomes an int.
        if (x >= 0 && y >= 0 && x < gridWidth_ && y < gridHeight_) {
            const auto cx = static_cast<int>(x) / kCell;
            const auto cy = static_cast<int>(y) / kCell;
            return cells_[cell(cx, cy)];
        }
        return beyond_;
    }

  private:
    static constexpr int kCell = 256;

    struct Span {
        int x0 = 0;
        int y0 = 0;
        int x1 = -1;
        int y1 = -1;
        bool beyond = false;
        friend bool operator==(const Span&, const Span&) = default;
    };
    std::size_t cell(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(cols_) +
               static_cast<std::size_t>(x);
    }
    Span spanOf(const Box& box) const;
    void insert(int layer, const Span& span);
    void erase(int layer, const Span& span);

    int cols_ = 0;
    int rows_ = 0;
    float gridWidth_ = 0;
    float gridHeight_ = 0;
    std::vector<std::vector<std::uint16_t>> cells_;
    // Elements reaching beyond the grid, for points out there.
    std::vector<std::uint16_t> beyond_;
    std::vector<Span> spans_;
    struct Edges {
        float left;
        float top;
        float right;
        float bottom;
    };
    std::vector<Edges> edges_;
    static Edges edgesOf(const Box& b);
};

}  // namespace platform
