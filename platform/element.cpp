#include "platform/element.h"

#include <cctype>
#include <cmath>
#include <limits>
#include <utility>

#include "platform/form.h"

namespace platform {

namespace {

// Positions are written as whole twips, rounded to the nearest.
std::int32_t wholeTwips(float twips) {
    const double v = std::nearbyint(static_cast<double>(twips));
    if (!(v == v)) {
        return 0;
    }
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    if (v < kLowest) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (v > kHighest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(v);
}

}  // namespace

Element::Element(ElementKind kind, std::string name, Box box, bool visible)
    : kind_(kind), name_(std::move(name)), box_(box), visible_(visible) {}

void Element::changed(const Box& before) {
    if (form_ != nullptr) {
        form_->elementChanged(*this, before);
    }
}

void Element::setLeft(float twips) {
    const std::int32_t v = wholeTwips(twips);
    if (v == box_.left) {
        return;
    }
    const Box before = box_;
    box_.left = v;
    changed(before);
}

void Element::setTop(float twips) {
    const std::int32_t v = wholeTwips(twips);
    if (v == box_.top) {
        return;
    }
    const Box before = box_;
    box_.top = v;
    changed(before);
}

void Element::setVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    changed(box_);
}

Shape::Shape(std::string name, ShapeKind shape, Box box, Colour fill, bool visible)
    : Element(ElementKind::shape, std::move(name), box, visible), shape_(shape), fill_(fill) {}

bool Shape::covers(float x, float y) const {
    const Box& b = box();
    if (!b.contains(x, y)) {
        return false;
    }
    if (shape_ == ShapeKind::rectangle) {
        return true;
    }
    const double rx = b.width / 2.0;
    const double ry = b.height / 2.0;
    const double dx = (x - (b.left + rx)) / rx;
    const double dy = (y - (b.top + ry)) / ry;
    return dx * dx + dy * dy <= 1.0;
}

Image::Image(std::string name, Box box, Picture picture, bool visible)
    : Element(ElementKind::image, std::move(name), box, visible), picture_(std::move(picture)) {}

void Image::setPicture(const Picture& picture) {
    if (picture_ == picture) {
        return;
    }
    picture_ = picture;
    changed(box());
}

bool Image::colourAt(float x, float y, Colour& out) const {
    const Raster& r = picture_.raster();
    const Box& b = box();
    if (r.width == 0 || r.height == 0 || b.width <= 0 || b.height <= 0) {
        return false;
    }
    // The point lies inside the box, so truncating is rounding down.
    int px = static_cast<int>((x - static_cast<float>(b.left)) * static_cast<float>(r.width) /
                              static_cast<float>(b.width));
    int py = static_cast<int>((y - static_cast<float>(b.top)) * static_cast<float>(r.height) /
                              static_cast<float>(b.height));
    px = px < 0 ? 0 : (px >= r.width ? r.width - 1 : px);
    py = py < 0 ? 0 : (py >= r.height ? r.height - 1 : py);
    out = r.at(px, py);
    return true;
}

Label::Label(std::string name, Box box, std::string caption, LabelStyle style)
    : Element(ElementKind::label, std::move(name), box),
      caption_(std::move(caption)),
      style_(style) {}

void Label::setCaption(std::string caption) {
    if (caption_ == caption) {
        return;
    }
    caption_ = std::move(caption);
    changed(box());
}

CommandButton::CommandButton(std::string name, Box box, std::string caption)
    : Element(ElementKind::button, std::move(name), box), caption_(std::move(caption)) {}

char CommandButton::accessKey() const {
    for (std::size_t i = 0; i + 1 < caption_.size(); ++i) {
        if (caption_[i] == '&') {
            if (caption_[i + 1] == '&') {
                ++i;
                continue;
            }
            return static_cast<char>(std::toupper(static_cast<unsigned char>(caption_[i + 1])));
        }
    }
    return 0;
}

std::string CommandButton::shownCaption() const {
    std::string out;
    for (std::size_t i = 0; i < caption_.size(); ++i) {
        if (caption_[i] == '&' && i + 1 < caption_.size()) {
            ++i;
        }
        out += caption_[i];
    }
    return out;
}

}  // namespace platform
