#pragma once

#include <QImage>
#include <QWidget>
#include <map>

#include "platform/form.h"

class QPushButton;

namespace platform {

class QtPlatform;

// Maps twips of a form's client area to pixels of the window showing it, the
// screen's own pixels at any scale factor: the scene is scaled to fit,
// keeping its proportions, and centred. An element edge at t twips falls on
// the pixel boundary nearest t / twipsPerPixel, so a pixel is painted by an
// element exactly when its centre lies inside it.
struct TwipsMapping {
    double twipsPerPixel = 15.0;
    int offsetX = 0;
    int offsetY = 0;

    int x(double twips) const;
    int y(double twips) const;
    QRect rect(const Box& box) const;

    static TwipsMapping fit(int clientWidthTwips, int clientHeightTwips, int widthPx, int heightPx);
};

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

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QSize firstSize() const;
    QSize smallestSize() const;
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
    QSize fitted_;   // the size in pixels the mapping was made for
    QSize refused_;  // a size below the smallest that was already sent back
    std::map<const CommandButton*, QPushButton*> buttons_;
    std::map<std::uint32_t, QImage> images_;
};

// The toolkit key code of a Qt key the game or the focus rules read, or 0.
int keyCodeOf(int qtKey);

}  // namespace platform
