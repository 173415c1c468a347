#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/colour.h"
#include "platform/element.h"
#include "platform/scene_index.h"

namespace platform {

class Form;

// What shows a window on screen (the desktop backend); the simulated
// platform has none.
class FormView {
  public:
    virtual ~FormView() = default;
    // What the element shows changed; until now it covered `before`, which
    // must be redrawn along with its box now.
    virtual void elementChanged(const Element& element, const Box& before) = 0;
    virtual void visibilityChanged(bool visible) = 0;
    virtual void focusChanged() = 0;
    virtual void formDestroyed() = 0;
};

// Key codes the toolkit knows by name.
namespace keys {
constexpr int kTab = 9;
constexpr int kEnter = 13;
constexpr int kSpace = 32;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
}  // namespace keys

// A window: a caption, a client area in twips, a background, its elements in
// layer order (bottom first) and its push buttons in tab order, always on top.
// It routes key presses by the focus rules and answers the colour query.
class Form {
  public:
    Form(std::string name, std::string caption, int clientWidth, int clientHeight,
         Colour background);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    ~Form();

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    int clientWidth() const { return clientWidth_; }
    int clientHeight() const { return clientHeight_; }
    Colour background() const { return background_; }

    // Placing the scene: elements in layer order, bottom first; buttons in
    // tab order. The first button added holds the focus.
    void add(Element& element);
    void addButton(CommandButton& button, bool isDefault = false);

    const std::vector<Element*>& layers() const { return layers_; }
    const std::vector<CommandButton*>& buttons() const { return buttons_; }
    CommandButton* defaultButton() const { return default_; }

    // The colour of the composed picture at (x, y) in twips.
    Colour Point(float x, float y) const;

    // Input, routed by the focus rules.
    void keyDown(int keyCode);
    // Alt+letter: presses the shown button whose access key it is.
    bool accessKey(char letter);
    // A mouse click on a button; dropped while the button is hidden.
    void click(CommandButton& button);
    // The frame's close control.
    void frameClose();

    CommandButton* focused() const { return focused_; }
    // The button Enter presses now, by the focus rules, or none.
    CommandButton* enterButton() const;

    // The window this one belongs to (a dialog of it), or none for a main
    // window. Set before the window is shown.
    Form* owner() const { return owner_; }
    void setOwner(Form* owner) { owner_ = owner; }

    bool Visible() const { return visible_; }
    void setVisible(bool visible);

    // The handlers the owner of the window gives it.
    std::function<void(int)> onKeyDown;
    std::function<void()> onFrameClose;

    void setView(FormView* view) { view_ = view; }
    FormView* view() const { return view_; }

    // Called by the elements on every write that changes what they show;
    // `before` is the box the element covered until now.
    void elementChanged(const Element& element, const Box& before);

  private:
    void press(CommandButton& button);
    void buildIndex() const;
    void focusNextVisible(const CommandButton* after);

    std::string name_;
    std::string caption_;
    int clientWidth_;
    int clientHeight_;
    Colour background_;
    std::vector<Element*> layers_;
    // Built on the first colour query, once the scene is placed.
    mutable SceneIndex index_;
    mutable bool indexed_ = false;
    std::vector<CommandButton*> buttons_;
    CommandButton* default_ = nullptr;
    CommandButton* focused_ = nullptr;
    bool visible_ = false;
    Form* owner_ = nullptr;
    FormView* view_ = nullptr;
};

}  // namespace platform
