#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "platform/colour.h"
#include "platform/picture.h"

namespace platform {

class Form;

// A box in twips: covers Left <= x < Left + Width, Top <= y < Top + Height.
struct Box {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const Box&, const Box&) = default;

    bool contains(float x, float y) const {
        return x >= static_cast<float>(left) && x < static_cast<float>(left + width) &&
               y >= static_cast<float>(top) && y < static_cast<float>(top + height);
    }
};

// What a visual element is, so that painters and the colour query can treat
// each kind in its own way without casting about.
enum class ElementKind { shape, image, label, button };

// A visual element placed in a window. Positions and sizes are whole twips;
// the game reads them as single-precision numbers and writes whole twips.
// Every write that changes what the element shows tells the window, with the
// box the element covered before it, so that the window redraws both where
// the element was and where it is.
class Element {
  public:
    Element(ElementKind kind, std::string name, Box box, bool visible = true);
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;
    virtual ~Element() = default;

    ElementKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    const Box& box() const { return box_; }

    float Left() const { return static_cast<float>(box_.left); }
    float Top() const { return static_cast<float>(box_.top); }
    float Width() const { return static_cast<float>(box_.width); }
    float Height() const { return static_cast<float>(box_.height); }
    bool Visible() const { return visible_; }

    void setLeft(float twips);
    void setTop(float twips);
    void setVisible(bool visible);

    // Set by the window the element is placed in, with its layer there.
    void setForm(Form* form, int layer = -1) {
        form_ = form;
        layer_ = layer;
    }
    Form* form() const { return form_; }
    int layer() const { return layer_; }

  protected:
    // Tells the window that what the element shows changed; it covered
    // `before` until now.
    void changed(const Box& before);

  private:
    ElementKind kind_;
    std::string name_;
    Box box_;
    bool visible_;
    Form* form_ = nullptr;
    int layer_ = -1;
};

enum class ShapeKind { rectangle, circle };

// A filled rectangle or circle (the circle fills the ellipse inscribed in
// its box).
class Shape : public Element {
  public:
    Shape(std::string name, ShapeKind shape, Box box, Colour fill, bool visible = true);

    ShapeKind shape() const { return shape_; }
    Colour FillColor() const { return fill_; }

    // The colour the shape shows at a point inside its box, or no colour for
    // a point of the box that lies outside a circle.
    bool covers(float x, float y) const;

  private:
    ShapeKind shape_;
    Colour fill_;
};

// A picture sprite. Its picture is stretched to fit the sprite's box.
class Image : public Element {
  public:
    Image(std::string name, Box box, Picture picture, bool visible = true);

    const Picture& picture() const { return picture_; }
    void setPicture(const Picture& picture);

    // The colour the sprite shows at a point of its box; false where it shows
    // nothing (an empty picture).
    bool colourAt(float x, float y, Colour& out) const;

  private:
    Picture picture_;
};

// The height of a window's text in twips (about 8 points at the design
// size), scaled with the window: the buttons' captions and the labels'.
inline constexpr int kTextTwips = 165;

// A text label.
struct LabelStyle {
    Colour foreColour = kWindowText;
    Colour backColour = kButtonFace;
    bool transparent = false;
    bool platformDefault = false;  // the platform's default font and colours
    // The height of the text in twips, scaled with the window.
    int textTwips = kTextTwips;
};

class Label : public Element {
  public:
    Label(std::string name, Box box, std::string caption, LabelStyle style);

    const std::string& Caption() const { return caption_; }
    void setCaption(std::string caption);
    const LabelStyle& style() const { return style_; }

    // For assistive technology, which reads a changed value with what it
    // is: the label on screen that names this one's value ("Lives:"), or a
    // name for a value that no label on screen names ("Score").
    const Label* namedBy() const { return namedBy_; }
    void setNamedBy(const Label* caption) { namedBy_ = caption; }
    const std::string& valueName() const { return valueName_; }
    void setValueName(std::string name) { valueName_ = std::move(name); }

  private:
    std::string caption_;
    LabelStyle style_;
    const Label* namedBy_ = nullptr;
    std::string valueName_;
};

// A push button. An ampersand in the caption marks its access key.
class CommandButton : public Element {
  public:
    CommandButton(std::string name, Box box, std::string caption);

    const std::string& Caption() const { return caption_; }
    // The access key letter in upper case, or 0 when the caption has none.
    char accessKey() const;
    // The caption as shown, without the access-key ampersand.
    std::string shownCaption() const;

    std::function<void()> onClick;

  private:
    std::string caption_;
};

}  // namespace platform
