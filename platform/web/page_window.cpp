#include "platform/web/page_window.h"

#include <algorithm>

#include "platform/web/page.h"
#include "platform/web/web_platform.h"

namespace platform {

namespace {

// Past this many rectangles to paint, one rectangle around them all costs
// less than painting each.
constexpr std::size_t kMostChangedRects = 16;

PixelRect around(const PixelRect& a, const PixelRect& b) {
    const int x0 = std::min(a.x, b.x);
    const int y0 = std::min(a.y, b.y);
    const int x1 = std::max(a.x + a.width, b.x + b.width);
    const int y1 = std::max(a.y + a.height, b.y + b.height);
    return {x0, y0, x1 - x0, y1 - y0};
}

bool overlap(const PixelRect& a, const PixelRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

PixelRect within(const PixelRect& r, int width, int height) {
    const int x0 = std::clamp(r.x, 0, width);
    const int y0 = std::clamp(r.y, 0, height);
    const int x1 = std::clamp(r.x + r.width, 0, width);
    const int y1 = std::clamp(r.y + r.height, 0, height);
    return {x0, y0, x1 - x0, y1 - y0};
}

int rgbOf(Colour c) {
    const Colour plain = resolveColour(c);
    return static_cast<int>((redOf(plain) << 16) | (greenOf(plain) << 8) | blueOf(plain));
}

}  // namespace

PageWindow::PageWindow(int number, Form& form, WebPlatform& platform)
    : number_(number), form_(&form), platform_(platform) {
    const int owner = form.owner() != nullptr && form.owner()->view() != nullptr
                          ? static_cast<PageWindow*>(form.owner()->view())->number()
                          : -1;
    gulpo_page_open(number_, form.name().c_str(), form.caption().c_str(), owner);
    for (const Element* e : form.layers()) {
        if (e->kind() == ElementKind::label) {
            pageElements_.push_back(e);
        }
    }
    for (const CommandButton* b : form.buttons()) {
        pageElements_.push_back(b);
    }
    form.setView(this);
    fit();
    if (form.Visible()) {
        visibilityChanged(true);
    }
}

PageWindow::~PageWindow() {
    if (form_ != nullptr) {
        form_->setView(nullptr);
        gulpo_page_destroy(number_);
    }
}

int PageWindow::numberOf(const Element& element) const {
    const auto it = std::find(pageElements_.begin(), pageElements_.end(), &element);
    return it == pageElements_.end() ? -1 : static_cast<int>(it - pageElements_.begin());
}

CommandButton* PageWindow::button(int element) const {
    if (form_ == nullptr || element < 0 || element >= static_cast<int>(pageElements_.size()) ||
        pageElements_[static_cast<std::size_t>(element)]->kind() != ElementKind::button) {
        return nullptr;
    }
    for (CommandButton* b : form_->buttons()) {
        if (b == pageElements_[static_cast<std::size_t>(element)]) {
            return b;
        }
    }
    return nullptr;
}

void PageWindow::fit() {
    int size[2] = {0, 0};
    gulpo_page_fit(number_, form_->clientWidth(), form_->clientHeight(), size);
    ratio_ = gulpo_page_ratio();
    width_ = std::max(size[0], 1);
    height_ = std::max(size[1], 1);
    mapping_ = TwipsMapping::fit(form_->clientWidth(), form_->clientHeight(), width_, height_);
    changed_.assign(1, PixelRect{0, 0, width_, height_});
    for (const Element* e : pageElements_) {
        place(*e);
    }
    showFocus(false);
}

void PageWindow::place(const Element& element) {
    const PixelRect r = mapping_.rect(element.box());
    const double x = r.x / ratio_;
    const double y = r.y / ratio_;
    const double w = r.width / ratio_;
    const double h = r.height / ratio_;
    const int number = numberOf(element);
    if (element.kind() == ElementKind::label) {
        const auto& label = static_cast<const Label&>(element);
        const LabelStyle& style = label.style();
        const int named = label.namedBy() != nullptr ? numberOf(*label.namedBy()) : -1;
        gulpo_page_label(number_, number, label.name().c_str(), label.Caption().c_str(), x, y, w, h,
                         style.textTwips / mapping_.twipsPerPixel / ratio_,
                         style.platformDefault ? -1 : rgbOf(style.foreColour),
                         label.Visible() ? 1 : 0, named, label.valueName().c_str());
    } else {
        const auto& b = static_cast<const CommandButton&>(element);
        gulpo_page_button(number_, number, b.name().c_str(), b.Caption().c_str(), x, y, w, h,
                          kTextTwips / mapping_.twipsPerPixel / ratio_, b.Visible() ? 1 : 0);
    }
}

void PageWindow::changed(const PixelRect& rect) {
    PixelRect r = within(rect, width_, height_);
    if (r.empty()) {
        return;
    }
    // A sprite's box before a step and after it overlap: one rectangle
    // around both is painted once.
    for (auto it = changed_.begin(); it != changed_.end();) {
        if (overlap(*it, r)) {
            r = around(*it, r);
            it = changed_.erase(it);
        } else {
            ++it;
        }
    }
    if (changed_.size() >= kMostChangedRects) {
        PixelRect all = r;
        for (const PixelRect& c : changed_) {
            all = around(all, c);
        }
        changed_.assign(1, all);
        return;
    }
    changed_.push_back(r);
}

void PageWindow::elementChanged(const Element& element, const Box& before) {
    if (element.kind() == ElementKind::label || element.kind() == ElementKind::button) {
        place(element);
    }
    if (element.kind() == ElementKind::button) {
        showFocus(false);
    }
    changed(mapping_.rect(before));
    changed(mapping_.rect(element.box()));
}

void PageWindow::paint(const PixelRect& rect) {
    rgba_.resize(static_cast<std::size_t>(rect.width) * static_cast<std::size_t>(rect.height) * 4);
    const PixelRect scene{mapping_.x(0), mapping_.y(0),
                          mapping_.x(form_->clientWidth()) - mapping_.x(0),
                          mapping_.y(form_->clientHeight()) - mapping_.y(0)};
    for (int py = rect.y; py < rect.y + rect.height; ++py) {
        const float ty = mapping_.twipsY(py);
        std::uint8_t* out = &rgba_[static_cast<std::size_t>(py - rect.y) *
                                   static_cast<std::size_t>(rect.width) * 4];
        const bool rowInScene = py >= scene.y && py < scene.y + scene.height;
        for (int px = rect.x; px < rect.x + rect.width; ++px, out += 4) {
            // Outside the scaled scene the window is black.
            Colour c = 0;
            if (rowInScene && px >= scene.x && px < scene.x + scene.width) {
                c = form_->Point(mapping_.twipsX(px), ty);
            }
            out[0] = static_cast<std::uint8_t>(redOf(c));
            out[1] = static_cast<std::uint8_t>(greenOf(c));
            out[2] = static_cast<std::uint8_t>(blueOf(c));
            out[3] = 255;
        }
    }
    gulpo_page_blit(number_, rgba_.data(), width_, height_, rect.x, rect.y, rect.width,
                    rect.height);
}

void PageWindow::draw() {
    if (form_ == nullptr || changed_.empty()) {
        return;
    }
    const std::vector<PixelRect> rects = std::move(changed_);
    changed_.clear();
    for (const PixelRect& r : rects) {
        paint(r);
    }
}

void PageWindow::visibilityChanged(bool visible) {
    gulpo_page_show(number_, visible ? 1 : 0);
    if (visible) {
        // A window that opens takes the keys, as on a desktop.
        activate();
    } else if (form_ != nullptr && form_->owner() != nullptr && form_->owner()->view() != nullptr) {
        static_cast<PageWindow*>(form_->owner()->view())->activate();
    }
}

void PageWindow::activate() {
    showFocus(true);
}

void PageWindow::focusChanged() {
    // The game moved the focus: its window takes the keys, so that the
    // next key goes where the game expects it.
    showFocus(true);
}

void PageWindow::showFocus(bool active) {
    if (form_ == nullptr) {
        return;
    }
    CommandButton* focused = form_->focused();
    const int focus = focused != nullptr && focused->Visible() ? numberOf(*focused) : -1;
    const CommandButton* enter = form_->enterButton();
    gulpo_page_focus(number_, focus, enter != nullptr ? numberOf(*enter) : -1, active ? 1 : 0);
}

void PageWindow::formDestroyed() {
    gulpo_page_destroy(number_);
    form_ = nullptr;
    platform_.windowGone(this);
}

}  // namespace platform
