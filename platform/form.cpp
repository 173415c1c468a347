#include "platform/form.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace platform {

Form::Form(std::string name, std::string caption, int clientWidth, int clientHeight,
           Colour background)
    : name_(std::move(name)),
      caption_(std::move(caption)),
      clientWidth_(clientWidth),
      clientHeight_(clientHeight),
      background_(background) {}

// The elements of a window die with it and may already be gone here: the
// window only tells its view.
Form::~Form() {
    if (view_ != nullptr) {
        view_->formDestroyed();
    }
}

void Form::add(Element& element) {
    element.setForm(this, static_cast<int>(layers_.size()));
    layers_.push_back(&element);
    indexed_ = false;
}

void Form::buildIndex() const {
    index_.build(layers_, clientWidth_, clientHeight_);
    indexed_ = true;
}

void Form::addButton(CommandButton& button, bool isDefault) {
    button.setForm(this);
    buttons_.push_back(&button);
    if (isDefault) {
        default_ = &button;
    }
    if (focused_ == nullptr && button.Visible()) {
        focused_ = &button;
    }
}

Colour Form::Point(float x, float y) const {
    for (auto it = buttons_.rbegin(); it != buttons_.rend(); ++it) {
        if ((*it)->Visible() && (*it)->box().contains(x, y)) {
            return resolveColour(kButtonFace);
        }
    }
    if (!indexed_) {
        buildIndex();
    }
    const auto& candidates = index_.candidates(x, y);
    for (auto it = candidates.rbegin(); it != candidates.rend(); ++it) {
        if (!index_.boxHolds(*it, x, y)) {
            continue;
        }
        const Element& e = *layers_[*it];
        if (!e.Visible()) {
            continue;
        }
        // Buttons are answered above: they are never layered.
        if (e.kind() == ElementKind::shape) {
            const auto& s = static_cast<const Shape&>(e);
            if (s.covers(x, y)) {
                return resolveColour(s.FillColor());
            }
        } else if (e.kind() == ElementKind::image) {
            Colour c = 0;
            if (static_cast<const Image&>(e).colourAt(x, y, c)) {
                return c;
            }
        } else if (e.kind() == ElementKind::label) {
            const auto& l = static_cast<const Label&>(e);
            if (!l.style().transparent) {
                return resolveColour(l.style().backColour);
            }
        }
    }
    return resolveColour(background_);
}

void Form::press(CommandButton& button) {
    // A handler may close the very window it belongs to.
    auto handler = button.onClick;
    if (handler) {
        handler();
    }
}

void Form::keyDown(int keyCode) {
    if (focused_ != nullptr && focused_->Visible()) {
        if (keyCode == keys::kEnter || keyCode == keys::kSpace) {
            press(*focused_);
        } else if (keyCode == keys::kTab) {
            focusNextVisible(focused_);
        }
        return;
    }
    if (keyCode == keys::kEnter && default_ != nullptr && default_->Visible()) {
        press(*default_);
        return;
    }
    if (onKeyDown) {
        onKeyDown(keyCode);
    }
}

CommandButton* Form::enterButton() const {
    if (focused_ != nullptr && focused_->Visible()) {
        return focused_;
    }
    return default_ != nullptr && default_->Visible() ? default_ : nullptr;
}

bool Form::accessKey(char letter) {
    const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (CommandButton* b : buttons_) {
        if (b->Visible() && b->accessKey() == wanted) {
            click(*b);
            return true;
        }
    }
    return false;
}

void Form::click(CommandButton& button) {
    if (!button.Visible() || button.form() != this) {
        return;
    }
    if (focused_ != &button) {
        focused_ = &button;
        if (view_ != nullptr) {
            view_->focusChanged();
        }
    }
    press(button);
}

void Form::frameClose() {
    // The handler may destroy this window.
    auto handler = onFrameClose;
    if (handler) {
        handler();
    }
}

void Form::setVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    if (view_ != nullptr) {
        view_->visibilityChanged(visible);
    }
}

void Form::focusNextVisible(const CommandButton* after) {
    CommandButton* next = nullptr;
    const auto start = std::find(buttons_.begin(), buttons_.end(), after);
    const std::size_t n = buttons_.size();
    const std::size_t from =
        start == buttons_.end() ? 0 : static_cast<std::size_t>(start - buttons_.begin());
    for (std::size_t step = 1; step <= n; ++step) {
        CommandButton* candidate = buttons_[(from + step) % n];
        if (candidate->Visible()) {
            next = candidate;
            break;
        }
    }
    if (next != focused_) {
        focused_ = next;
        if (view_ != nullptr) {
            view_->focusChanged();
        }
    }
}

void Form::elementChanged(const Element& element, const Box& before) {
    if (indexed_ && element.layer() >= 0 && before != element.box()) {
        index_.update(element.layer(), element.box());
    }
    if (element.kind() == ElementKind::button && &element == focused_ && !element.Visible()) {
        // A hidden button takes no focus: it passes to the next shown one.
        focusNextVisible(focused_);
    }
    if (view_ != nullptr) {
        view_->elementChanged(element, before);
    }
}

}  // namespace platform
