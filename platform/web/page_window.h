#pragma once

#include <cstdint>
#include <vector>

#include "platform/form.h"
#include "platform/twips_mapping.h"

namespace platform {

class WebPlatform;

// One form shown as a part of the page: its scene painted into a picture of
// the canvas's device pixels from the form's own colour query, changed
// rectangles only, and its labels and buttons kept as the page's elements.
class PageWindow : public FormView {
  public:
    PageWindow(int number, Form& form, WebPlatform& platform);
    ~PageWindow() override;
    PageWindow(const PageWindow&) = delete;
    PageWindow& operator=(const PageWindow&) = delete;

    int number() const { return number_; }
    Form* form() const { return form_; }

    // Sizes the canvas to the page and places every element anew.
    void fit();
    // Puts what changed since the last time on the canvas.
    void draw();
    // The form's button by the page's number for it.
    CommandButton* button(int element) const;
    // The page's focus moves into this window.
    void activate();

    // FormView
    void elementChanged(const Element& element, const Box& before) override;
    void visibilityChanged(bool visible) override;
    void focusChanged() override;
    void formDestroyed() override;

  private:
    int numberOf(const Element& element) const;
    void place(const Element& element);
    void showFocus(bool active);
    void paint(const PixelRect& rect);
    void changed(const PixelRect& rect);

    int number_;
    Form* form_;
    WebPlatform& platform_;
    TwipsMapping mapping_;
    double ratio_ = 1;
    int width_ = 0;
    int height_ = 0;
    // The pixels of the rectangle being painted, in RGBA.
    std::vector<std::uint8_t> rgba_;
    // What must be painted again since the last draw: a tick moves a few
    // sprites, each leaving one box and covering another.
    std::vector<PixelRect> changed_;
    // The labels and buttons, which the page shows as elements of its own;
    // an element's number is its place here.
    std::vector<const Element*> pageElements_;
};

}  // namespace platform
