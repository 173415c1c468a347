#include "platform/scene_index.h"

#include <algorithm>

namespace platform {

namespace {

int floorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

void insertSorted(std::vector<std::uint16_t>& list, std::uint16_t layer) {
    list.insert(std::lower_bound(list.begin(), list.end(), layer), layer);
}

void eraseSorted(std::vector<std::uint16_t>& list, std::uint16_t layer) {
    auto it = std::lower_bound(list.begin(), list.end(), layer);
    if (it != list.end() && *it == layer) {
        list.erase(it);
    }
}

}  // namespace

void SceneIndex::build(const std::vector<Element*>& layers, int clientWidth, int clientHeight) {
    cols_ = std::max(1, (clientWidth + kCell - 1) / kCell);
    rows_ = std::max(1, (clientHeight + kCell - 1) / kCell);
    gridWidth_ = static_cast<float>(cols_ * kCell);
    gridHeight_ = static_cast<float>(rows_ * kCell);
    cells_.assign(static_cast<std::size_t>(cols_) * static_cast<std::size_t>(rows_), {});
    beyond_.clear();
    spans_.assign(layers.size(), Span{});
    edges_.assign(layers.size(), Edges{});
    for (std::size_t i = 0; i < layers.size(); ++i) {
        edges_[i] = edgesOf(layers[i]->box());
        spans_[i] = spanOf(layers[i]->box());
        insert(static_cast<int>(i), spans_[i]);
    }
}

SceneIndex::Span SceneIndex::spanOf(const Box& box) const {
    Span s;
    if (box.width <= 0 || box.height <= 0) {
        return s;
    }
    const long long right = static_cast<long long>(box.left) + box.width;
    const long long bottom = static_cast<long long>(box.top) + box.height;
    s.beyond = box.left < 0 || box.top < 0 || right > static_cast<long long>(cols_) * kCell ||
               bottom > static_cast<long long>(rows_) * kCell;
    s.x0 = std::max(0, floorDiv(box.left, kCell));
    s.y0 = std::max(0, floorDiv(box.top, kCell));
    s.x1 = static_cast<int>(std::min<long long>(cols_ - 1, (right - 1) / kCell));
    s.y1 = static_cast<int>(std::min<long long>(rows_ - 1, (bottom - 1) / kCell));
    if (right <= 0 || bottom <= 0) {
        s.x1 = -1;
    }
    return s;
}

void SceneIndex::insert(int layer, const Span& span) {
    const auto id = static_cast<std::uint16_t>(layer);
    for (int y = span.y0; y <= span.y1; ++y) {
        for (int x = span.x0; x <= span.x1; ++x) {
            insertSorted(cells_[cell(x, y)], id);
        }
    }
    if (span.beyond) {
        insertSorted(beyond_, id);
    }
}

void SceneIndex::erase(int layer, const Span& span) {
    const auto id = static_cast<std::uint16_t>(layer);
    for (int y = span.y0; y <= span.y1; ++y) {
        for (int x = span.x0; x <= span.x1; ++x) {
            eraseSorted(cells_[cell(x, y)], id);
        }
    }
    if (span.beyond) {
        eraseSorted(beyond_, id);
    }
}

SceneIndex::Edges SceneIndex::edgesOf(const Box& b) {
    return Edges{static_cast<float>(b.left), static_cast<float>(b.top),
                 static_cast<float>(b.left + b.width), static_cast<float>(b.top + b.height)};
}

void SceneIndex::update(int layer, const Box& box) {
    edges_[static_cast<std::size_t>(layer)] = edgesOf(box);
    Span& old = spans_[static_cast<std::size_t>(layer)];
    const Span now = spanOf(box);
    if (now == old) {
        return;
    }
    erase(layer, old);
    insert(layer, now);
    old = now;
}

}  // namespace platform
