#pragma once

#include <QImage>
#include <QWidget>
#include <map>

#include "platform/form.h"
#include "platform/twips_mapping.h"

class QPushButton;

namespace platform {

class QtPlatform;

// A window on screen showing one form: paints its elements in layer order,
// hosts its push buttons, and hands its keys, clicks and frame close to the
// form.
class FormWindow : public QWidget, public FormView {
  public:
    FormWindow(Form& form, QtPlatform& platform);
    ~FormWindow() override;

    // The size that shows the form's client area at 15 twips a pixel.
    QSize designSize() const;
    const TwipsMapping& mapping() const { return mapping_; }
    // The form shown, or none once it is gone.
    const Form* form() const { return form_; }
    // Where a box of the form shows in the window's own coordinates.
    QRect shownRect(const Box& box) const;

    // FormView
    void elementChanged(const Element& element, const Box& before) override;
    void visibilityChanged(bool visible) override;
    void focusChanged() override;
    void formDestroyed() override;

    // Routes a key press of this window by the form's focus rules.
    void routeKey(int qtKey, Qt::KeyboardModifiers modifiers);
    // The window is closed, by its frame or by anything that destroyed it
    // behind the game's back: the game takes that as any other input.
    void askToClose();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QSize firstSize() const;
    QSize smallestSize() const;
    void place();
    void placeOnceFramed();
    void applyFocus();
    QSize pixelSize() const;
    QRect toWindow(const QRect& pixels) const;
    void refit();
    void layoutButtons();
    void showFocus();
    void showDefault();
    void paintElement(QPainter& painter, const Element& element, const QRegion& dirty);
    const QImage& imageOf(const Picture& picture);

    Form* form_;
    QtPlatform& platform_;
    TwipsMapping mapping_;
    QSize fitted_;            // the size in pixels the mapping was made for
    QSize refused_;           // a size below the smallest that was already sent back
    QMargins frame_;          // the window manager's frame, as far as it is known
    bool focusOwed_ = false;  // Qt has yet to hear where the form's focus is
    std::map<const CommandButton*, QPushButton*> buttons_;
    std::map<std::uint32_t, QImage> images_;
};

}  // namespace platform
