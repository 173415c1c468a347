#include "platform/qt/form_window.h"

#include <QCloseEvent>
#include <QFont>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <cmath>

#include "platform/qt/qt_platform.h"

namespace platform {

namespace {

constexpr double kDesignTwipsPerPixel = 15.0;

QColor qcolour(Colour c) {
    const Colour plain = resolveColour(c);
    return QColor(static_cast<int>(redOf(plain)), static_cast<int>(greenOf(plain)),
                  static_cast<int>(blueOf(plain)));
}

// A push button that always frames itself with the style's focus frame
// while it holds the focus. Some styles show the focus only by the outline
// they also give the default button, and then a player could not tell
// whether Enter presses Start or About.
class GameButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPushButton::paintEvent(event);
        if (!hasFocus()) {
            return;
        }
        QStyleOptionButton button;
        initStyleOption(&button);
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &button, this);
        frame.backgroundColor = palette().color(QPalette::Button);
        QStylePainter painter(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
    }
};

int pixelEdge(double pixels) {
    return static_cast<int>(std::ceil(pixels - 0.5));
}

}  // namespace

int TwipsMapping::x(double twips) const {
    return offsetX + pixelEdge(twips / twipsPerPixel);
}

int TwipsMapping::y(double twips) const {
    return offsetY + pixelEdge(twips / twipsPerPixel);
}

QRect TwipsMapping::rect(const Box& box) const {
    const int x0 = x(box.left);
    const int y0 = y(box.top);
    return QRect(x0, y0, x(box.left + box.width) - x0, y(box.top + box.height) - y0);
}

TwipsMapping TwipsMapping::fit(int clientWidthTwips, int clientHeightTwips, int widthPx,
                               int heightPx) {
    TwipsMapping m;
    const double byWidth = static_cast<double>(clientWidthTwips) / std::max(widthPx, 1);
    const double byHeight = static_cast<double>(clientHeightTwips) / std::max(heightPx, 1);
    m.twipsPerPixel = std::max(byWidth, byHeight);
    m.offsetX = (widthPx - pixelEdge(clientWidthTwips / m.twipsPerPixel)) / 2;
    m.offsetY = (heightPx - pixelEdge(clientHeightTwips / m.twipsPerPixel)) / 2;
    return m;
}

int keyCodeOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Left:
            return keys::left;
        case Qt::Key_Up:
            return keys::up;
        case Qt::Key_Right:
            return keys::right;
        case Qt::Key_Down:
            return keys::down;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return keys::enter;
        case Qt::Key_Space:
            return keys::space;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return keys::tab;
        default:
            // No handler of the game reads any other key.
            return 0;
    }
}

FormWindow::FormWindow(Form& form, QtPlatform& platform) : form_(&form), platform_(platform) {
    setWindowTitle(QString::fromStdString(form.caption()));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    for (CommandButton* b : form.buttons()) {
        auto* button = new GameButton(QString::fromStdString(b->Caption()), this);
        // The focus moves only as the game's focus rules move it: a mouse
        // press that is not a click must not take it.
        button->setFocusPolicy(Qt::TabFocus);
        button->setAutoDefault(false);
        // Enter presses the default button while no button holds the focus;
        // it looks the part.
        button->setDefault(b == form.defaultButton());
        button->setVisible(b->Visible());
        buttons_[b] = button;
        QObject::connect(button, &QPushButton::clicked, this, [this, b] {
            if (form_ != nullptr) {
                platform_.windowInput({Input::Kind::click, form_->name(), 0, b->name()});
            }
        });
    }
    resize(designSize());
    mapping_ = TwipsMapping::fit(form.clientWidth(), form.clientHeight(), width(), height());
    layoutButtons();
    form.setView(this);
    focusChanged();
}

FormWindow::~FormWindow() = default;

QSize FormWindow::designSize() const {
    return QSize(pixelEdge(form_->clientWidth() / kDesignTwipsPerPixel),
                 pixelEdge(form_->clientHeight() / kDesignTwipsPerPixel));
}

void FormWindow::elementChanged(const Element& element, const Box& before) {
    if (element.kind() == ElementKind::button) {
        auto it = buttons_.find(static_cast<const CommandButton*>(&element));
        if (it != buttons_.end()) {
            it->second->setVisible(element.Visible());
            it->second->setGeometry(mapping_.rect(element.box()));
        }
        return;
    }
    // The pixels it left show what lies beneath now, and those it reached
    // show it; a pixel's margin keeps soft edges inside. Qt gathers the
    // requests of one handler into a single paint once it returns.
    QRegion dirty(mapping_.rect(before).adjusted(-1, -1, 1, 1));
    dirty += mapping_.rect(element.box()).adjusted(-1, -1, 1, 1);
    update(dirty);
}

void FormWindow::visibilityChanged(bool visible) {
    setVisible(visible);
    if (visible) {
        raise();
        activateWindow();
    }
}

void FormWindow::focusChanged() {
    if (form_ == nullptr) {
        return;
    }
    CommandButton* focused = form_->focused();
    auto it = focused != nullptr ? buttons_.find(focused) : buttons_.end();
    if (it != buttons_.end() && focused->Visible()) {
        it->second->setFocus(Qt::OtherFocusReason);
    } else {
        setFocus(Qt::OtherFocusReason);
    }
    showFocus();
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
    if ((modifiers & Qt::AltModifier) != 0 && qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        platform_.windowInput(
            {Input::Kind::accessKey, form_->name(), 'A' + (qtKey - Qt::Key_A), {}});
        return;
    }
    const int code = keyCodeOf(qtKey);
    if (code != 0) {
        platform_.windowInput({Input::Kind::key, form_->name(), code, {}});
    }
}

void FormWindow::layoutButtons() {
    if (form_ == nullptr) {
        return;
    }
    QFont font = this->font();
    font.setPixelSize(std::max(1, pixelEdge(kTextTwips / mapping_.twipsPerPixel)));
    for (auto& [b, button] : buttons_) {
        button->setGeometry(mapping_.rect(b->box()));
        button->setFont(font);
    }
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (form_ == nullptr) {
        return;
    }
    mapping_ = TwipsMapping::fit(form_->clientWidth(), form_->clientHeight(), width(), height());
    layoutButtons();
    update();
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The window goes when the game takes the close, as any other input.
    event->ignore();
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
    const QRect r = mapping_.rect(element.box());
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
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (form_ == nullptr) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    const bool platformBack = (form_->background() == kButtonFace);
    const QColor back =
        platformBack ? palette().color(QPalette::Window) : qcolour(form_->background());
    // Outside the scaled scene the window is black.
    painter.fillRect(rect(), platformBack ? back : QColor(Qt::black));
    const QRect scene(mapping_.x(0), mapping_.y(0),
                      mapping_.x(form_->clientWidth()) - mapping_.x(0),
                      mapping_.y(form_->clientHeight()) - mapping_.y(0));
    painter.fillRect(scene, back);
    const QRegion dirty = event->region().intersected(scene);
    painter.setClipRegion(dirty);
    for (const Element* e : form_->layers()) {
        if (e->Visible()) {
            paintElement(painter, *e, dirty);
        }
    }
}

}  // namespace platform
