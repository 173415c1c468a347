#include "platform/qt/form_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QWindow>
#include <cmath>

#include "platform/key_press.h"
#include "platform/qt/form_accessible.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/window_place.h"

namespace platform {

namespace {

constexpr double kDesignTwipsPerPixel = TwipsMapping::kDesignTwipsPerPixel;
// Text smaller than this, in the window's pixels, is hard to read.
constexpr double kReadableTextPixels = 8.0;

QColor qcolour(Colour c) {
    const Colour plain = resolveColour(c);
    return QColor(static_cast<int>(redOf(plain)), static_cast<int>(greenOf(plain)),
                  static_cast<int>(blueOf(plain)));
}

// Qt 6.4's painter takes a device pixel ratio below 1 for 1: at a scale
// factor below 1 it paints a window at its full size into the smaller
// picture the screen shows, and only the top-left part of it lands there.
// Scales what follows by `unit`, and by what the painter left out, so that
// it lands where the screen shows the widget.
void paintAtScale(QPainter& painter, qreal unit) {
    const qreal applied = painter.deviceTransform().m11();
    const qreal missing = painter.device()->devicePixelRatio() / applied;
    const QPointF origin = painter.deviceTransform().map(QPointF(0, 0)) / applied;
    painter.translate(origin * (missing - 1));
    painter.scale(missing * unit, missing * unit);
}

// A push button that always frames itself with the style's focus frame
// while it holds the focus. Some styles show the focus only by the outline
// they also give the default button, and then a player could not tell
// whether Enter presses Start or About.
class GameButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QStylePainter painter(this);
        paintAtScale(painter, 1);
        QStyleOptionButton button;
        initStyleOption(&button);
        painter.drawControl(QStyle::CE_PushButton, button);
        if (!hasFocus()) {
            return;
        }
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &button, this);
        frame.backgroundColor = palette().color(QPalette::Button);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
    }
};

// The toolkit's key code of a Qt key, or 0 for one it has none for.
int virtualKeyOf(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return 'A' + (qtKey - Qt::Key_A);
    }
    switch (qtKey) {
        case Qt::Key_Left:
            return keys::kLeft;
        case Qt::Key_Up:
            return keys::kUp;
        case Qt::Key_Right:
            return keys::kRight;
        case Qt::Key_Down:
            return keys::kDown;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return keys::kEnter;
        case Qt::Key_Space:
            return keys::kSpace;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return keys::kTab;
        default:
            return 0;
    }
}

QRect qrect(const PixelRect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

}  // namespace

// A window that belongs to another is its dialog: window managers keep it
// over its owner and do not tile it.
FormWindow::FormWindow(Form& form, QtPlatform& platform)
    : QWidget(form.owner() != nullptr ? platform.windowOf(*form.owner()) : nullptr,
              form.owner() != nullptr ? Qt::Dialog : Qt::WindowFlags()),
      form_(&form),
      platform_(platform) {
    installFormAccessibility();
    setWindowTitle(QString::fromStdString(form.caption()));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    for (CommandButton* b : form.buttons()) {
        auto* button = new GameButton(QString::fromStdString(b->Caption()), this);
        // The focus moves only as the game's focus rules move it: a mouse
        // press that is not a click must not take it.
        button->setFocusPolicy(Qt::TabFocus);
        button->setAutoDefault(false);
        button->setVisible(b->Visible());
        buttons_[b] = button;
        QObject::connect(button, &QPushButton::clicked, this, [this, b] {
            if (form_ != nullptr) {
                platform_.windowInput({Input::Kind::click, form_->name(), 0, b->name()});
            }
        });
    }
    resize(firstSize());
    // A Wayland compositor has the last word on a window's size, and Qt would
    // paint a window held at its smallest size past the compositor's frame:
    // there the scene is scaled into whatever size the window is given.
    if (!QGuiApplication::platformName().startsWith("wayland")) {
        setMinimumSize(smallestSize().boundedTo(size()));
    }
    refit();
    form.setView(this);
    focusChanged();
}

// The platform deletes each window itself, so a dialog does not go with the
// window it belongs to.
FormWindow::~FormWindow() {
    const QObjectList all = children();
    for (QObject* child : all) {
        if (auto* dialog = dynamic_cast<FormWindow*>(child)) {
            dialog->setParent(nullptr);
        }
    }
}

QSize FormWindow::designSize() const {
    return QSize(pixelEdge(form_->clientWidth() / kDesignTwipsPerPixel),
                 pixelEdge(form_->clientHeight() / kDesignTwipsPerPixel));
}

// The design size, made smaller to fit the screen's free area if it does
// not, keeping the scene's proportions.
QSize FormWindow::firstSize() const {
    return fittedInto(designSize(), frame_, screen()->availableGeometry());
}

// A dialog goes centred over the window it belongs to, as dialogs do on
// every window manager; and every window's frame lies within the screen's
// free area, the window made smaller if it takes that.
void FormWindow::place() {
    const QRect area = screen()->availableGeometry();
    const QSize fitted = fittedInto(size(), frame_, area);
    if (fitted != size()) {
        setMinimumSize(minimumSize().boundedTo(fitted));
        resize(fitted);
    }
    QWidget* owner = parentWidget();
    const QMargins ownerFrame = owner != nullptr && owner->windowHandle() != nullptr
                                    ? owner->windowHandle()->frameMargins()
                                    : QMargins();
    // Until it is framed, a dialog's frame is taken to be its owner's.
    const QMargins frame = owner != nullptr && frame_.isNull() ? ownerFrame : frame_;
    QRect framed(geometry().topLeft() - QPoint(frame.left(), frame.top()), size().grownBy(frame));
    if (owner != nullptr) {
        framed.moveTopLeft(centredOver(framed.size(), owner->geometry().marginsAdded(ownerFrame)));
    }
    const QPoint to = keptWithin(framed, area);
    if (owner != nullptr || to != framed.topLeft()) {
        move(to);
    }
}

// Window managers frame a window once it shows: then it is placed again,
// frame and all.
void FormWindow::placeOnceFramed() {
    const QWindow* handle = windowHandle();
    if (handle == nullptr || !isVisible() || handle->frameMargins() == frame_) {
        return;
    }
    frame_ = handle->frameMargins();
    place();
}

// The size at which the window's smallest text can still be read, and never
// below half the design size.
QSize FormWindow::smallestSize() const {
    int text = kTextTwips;
    for (const Element* e : form_->layers()) {
        if (e->kind() == ElementKind::label) {
            text = std::min(text, static_cast<const Label*>(e)->style().textTwips);
        }
    }
    const double twipsPerPixel = std::min(2 * kDesignTwipsPerPixel, text / kReadableTextPixels);
    return QSize(static_cast<int>(std::ceil(form_->clientWidth() / twipsPerPixel)),
                 static_cast<int>(std::ceil(form_->clientHeight() / twipsPerPixel)));
}

// The window's size in the screen's own pixels, which the scene is fitted
// to.
QSize FormWindow::pixelSize() const {
    return size() * devicePixelRatioF();
}

QRect FormWindow::toWindow(const QRect& pixels) const {
    const qreal ratio = devicePixelRatioF();
    return QTransform::fromScale(1 / ratio, 1 / ratio).mapRect(QRectF(pixels)).toAlignedRect();
}

QRect FormWindow::shownRect(const Box& box) const {
    return toWindow(qrect(mapping_.rect(box)));
}

void FormWindow::refit() {
    fitted_ = pixelSize();
    mapping_ = TwipsMapping::fit(form_->clientWidth(), form_->clientHeight(), fitted_.width(),
                                 fitted_.height());
    layoutButtons();
}

void FormWindow::elementChanged(const Element& element, const Box& before) {
    if (element.kind() == ElementKind::button) {
        auto it = buttons_.find(static_cast<const CommandButton*>(&element));
        if (it != buttons_.end()) {
            // Left to itself, Qt would pass the focus of a button it hides to
            // the next one at once; the window holds it until the form's
            // focus is known.
            if (!element.Visible() && focusWidget() == it->second) {
                setFocus(Qt::OtherFocusReason);
            }
            it->second->setVisible(element.Visible());
            it->second->setGeometry(shownRect(element.box()));
        }
        showDefault();
        return;
    }
    // The pixels it left show what lies beneath now, and those it reached
    // show it; a pixel's margin keeps soft edges inside. Qt gathers the
    // requests of one handler into a single paint once it returns.
    QRegion dirty(toWindow(qrect(mapping_.rect(before)).adjusted(-1, -1, 1, 1)));
    dirty += toWindow(qrect(mapping_.rect(element.box())).adjusted(-1, -1, 1, 1));
    update(dirty);
    if (element.kind() == ElementKind::label) {
        announceCaption(*this, static_cast<const Label&>(element));
    }
}

void FormWindow::visibilityChanged(bool visible) {
    if (visible) {
        place();
    }
    setVisible(visible);
    if (visible) {
        raise();
        activateWindow();
    }
}

// Qt hears where the form's focus rests once the game's handler has placed
// it: Start hides Start, which passes the focus on to About, and then
// About, and a screen reader must not announce About on the way to the game.
void FormWindow::focusChanged() {
    if (!focusOwed_) {
        focusOwed_ = true;
        QMetaObject::invokeMethod(
            this, [this] { applyFocus(); }, Qt::QueuedConnection);
    }
}

void FormWindow::applyFocus() {
    focusOwed_ = false;
    if (form_ == nullptr) {
        return;
    }
    CommandButton* focused = form_->focused();
    auto it = focused != nullptr ? buttons_.find(focused) : buttons_.end();
    if (it != buttons_.end() && focused->Visible()) {
        it->second->setFocus(Qt::OtherFocusReason);
    } else {
        setFocus(Qt::OtherFocusReason);
        // The arrow keys steer from now on, so the window takes the keyboard
        // from another of the game's windows (Start pressed in About); never
        // from another program's.
        const QWidget* active = QApplication::activeWindow();
        if (active != nullptr && active != this && isVisible()) {
            activateWindow();
        }
    }
    showFocus();
    showDefault();
}

// Enter presses the focused button, else the default one while it shows:
// that button, and no other, looks like the default and is announced so.
void FormWindow::showDefault() {
    const CommandButton* enter = form_ != nullptr ? form_->enterButton() : nullptr;
    for (auto& [b, button] : buttons_) {
        button->setDefault(b == enter);
    }
}

// The game is played from the keyboard, so the button that Enter or Space
// would press always shows that it holds the focus, not only after Tab (Qt
// forgets that on its own when the window is activated or clicked).
void FormWindow::showFocus() {
    if (!testAttribute(Qt::WA_KeyboardFocusChange)) {
        setAttribute(Qt::WA_KeyboardFocusChange);
        for (auto& [b, button] : buttons_) {
            button->update();
        }
    }
}

void FormWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        showFocus();
    }
}

void FormWindow::formDestroyed() {
    const Form* gone = form_;
    forgetAccessibleLabels(*this);
    form_ = nullptr;
    if (gone != nullptr) {
        platform_.windowGone(*gone);
    }
    hide();
    deleteLater();
}

void FormWindow::routeKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (form_ == nullptr) {
        return;
    }
    if (auto input =
            keyPress(form_->name(), virtualKeyOf(qtKey), (modifiers & Qt::AltModifier) != 0)) {
        platform_.windowInput(*input);
    }
}

void FormWindow::layoutButtons() {
    if (form_ == nullptr) {
        return;
    }
    QFont font = this->font();
    const double twipsPerWindowPixel = mapping_.twipsPerPixel * devicePixelRatioF();
    font.setPixelSize(std::max(1, pixelEdge(kTextTwips / twipsPerWindowPixel)));
    for (auto& [b, button] : buttons_) {
        button->setGeometry(shownRect(b->box()));
        button->setFont(font);
    }
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (form_ == nullptr) {
        return;
    }
    // Squeezed below the smallest size by a window manager that does not
    // heed it, or with none there: the window asks for that size once, and
    // takes a size the manager insists on.
    const QSize least = size().expandedTo(minimumSize());
    if (least != size() && size() != refused_) {
        refused_ = size();
        resize(least);
    }
    refit();
    update();
    placeOnceFramed();
}

void FormWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    placeOnceFramed();
}

// A frame known as the window shows is heeded then, not at the first
// resize the player makes.
void FormWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    placeOnceFramed();
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The window goes when the game takes the close, as any other input.
    event->ignore();
    askToClose();
}

void FormWindow::askToClose() {
    if (form_ != nullptr) {
        platform_.windowInput({Input::Kind::frameClose, form_->name(), 0, {}});
    }
}

const QImage& FormWindow::imageOf(const Picture& picture) {
    auto it = images_.find(picture.Handle());
    if (it != images_.end()) {
        return it->second;
    }
    const Raster& r = picture.raster();
    QImage image(r.width, r.height, QImage::Format_RGB32);
    for (int y = 0; y < r.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < r.width; ++x) {
            const Colour c = r.at(x, y);
            line[x] = qRgb(static_cast<int>(redOf(c)), static_cast<int>(greenOf(c)),
                           static_cast<int>(blueOf(c)));
        }
    }
    return images_.emplace(picture.Handle(), std::move(image)).first->second;
}

void FormWindow::paintElement(QPainter& painter, const Element& element, const QRegion& dirty) {
    const QRect r = qrect(mapping_.rect(element.box()));
    if (r.isEmpty() || !dirty.intersects(r)) {
        return;
    }
    switch (element.kind()) {
        case ElementKind::shape: {
            const auto& s = static_cast<const Shape&>(element);
            if (s.shape() == ShapeKind::rectangle) {
                painter.fillRect(r, qcolour(s.FillColor()));
            } else {
                painter.setRenderHint(QPainter::Antialiasing, true);
                painter.setPen(Qt::NoPen);
                painter.setBrush(qcolour(s.FillColor()));
                painter.drawEllipse(QRectF(r));
                painter.setRenderHint(QPainter::Antialiasing, false);
            }
            break;
        }
        case ElementKind::image: {
            const auto& img = static_cast<const Image&>(element);
            if (!img.picture().isEmpty()) {
                painter.drawImage(r, imageOf(img.picture()));
            }
            break;
        }
        case ElementKind::label: {
            const auto& l = static_cast<const Label&>(element);
            const LabelStyle& style = l.style();
            QFont font = this->font();
            font.setPixelSize(std::max(1, pixelEdge(style.textTwips / mapping_.twipsPerPixel)));
            painter.setFont(font);
            if (!style.transparent && !style.platformDefault) {
                painter.fillRect(r, qcolour(style.backColour));
            }
            painter.setPen(style.platformDefault ? palette().color(QPalette::WindowText)
                                                 : qcolour(style.foreColour));
            painter.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                             QString::fromStdString(l.Caption()));
            break;
        }
        case ElementKind::button:
            break;
    }
}

void FormWindow::paintEvent(QPaintEvent* event) {
    if (form_ != nullptr && pixelSize() != fitted_) {
        refit();  // shown at another scale factor now
    }
    QPainter painter(this);
    // From here on the screen's own pixels, which the mapping is made for.
    const qreal ratio = devicePixelRatioF();
    paintAtScale(painter, 1 / ratio);
    QRegion region;
    for (const QRect& r : event->region()) {
        region += QTransform::fromScale(ratio, ratio).mapRect(QRectF(r)).toAlignedRect();
    }
    painter.setClipRegion(region);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (form_ == nullptr) {
        painter.fillRect(QRect(QPoint(), fitted_), Qt::black);
        return;
    }
    const bool platformBack = (form_->background() == kButtonFace);
    const QColor back =
        platformBack ? palette().color(QPalette::Window) : qcolour(form_->background());
    // Outside the scaled scene the window is black.
    painter.fillRect(QRect(QPoint(), fitted_), platformBack ? back : QColor(Qt::black));
    const QRect scene(mapping_.x(0), mapping_.y(0),
                      mapping_.x(form_->clientWidth()) - mapping_.x(0),
                      mapping_.y(form_->clientHeight()) - mapping_.y(0));
    painter.fillRect(scene, back);
    const QRegion dirty = region.intersected(scene);
    painter.setClipRegion(dirty);
    for (const Element* e : form_->layers()) {
        if (e->Visible()) {
            paintElement(painter, *e, dirty);
        }
    }
}

}  // namespace platform
