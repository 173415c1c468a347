#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "platform/form.h"
#include "platform/qt/event_sound.h"
#include "platform/qt/form_window.h"
#include "platform/qt/window_destroyed.h"

namespace platform {

namespace {

// Sends every key press in the game's windows through the toolkit's focus
// rules instead of Qt's, so that both backends route keys alike.
class KeyRouter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) {
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr) {
            return false;
        }
        auto* window = dynamic_cast<FormWindow*>(widget->window());
        if (window == nullptr) {
            return false;
        }
        if (event->type() == QEvent::ShortcutOverride) {
            // Claim the key, so that it arrives as a key press below rather
            // than as one of Qt's own shortcuts.
            event->accept();
            return true;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        window->routeKey(key->key(), key->modifiers());
        return true;
    }
};

// Runs `then` once, as soon as the first paint of any window has been
// handled, and then stops watching.
class AfterFirstPaint : public QObject {
  public:
    explicit AfterFirstPaint(std::function<void()> then) : then_(std::move(then)) {
        qApp->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QTimer::singleShot(0, this, [this] {
                qApp->removeEventFilter(this);
                then_();
            });
        }
        return false;
    }

  private:
    std::function<void()> then_;
    bool painted_ = false;
};

// The sound server is called once the window is on screen, so that the
// connection takes nothing from the first frame; at the latest this long
// after start, for a window that is never painted.
constexpr int kSoundLatestMs = 1000;

// How often the pages of memory freed during play go back to the system.
constexpr std::int64_t kGiveBackMemoryMs = 10000;

// Play churns through short-lived allocations of many sizes (the regions
// to repaint, painting's own buffers, captions), and the C library keeps the
// pages they leave free in the middle of the heap: the resident size would
// creep up for as long as the game is played.
void giveBackFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

}  // namespace

QtPlatform::QtPlatform() : wake_(new QTimer) {
    wake_->setSingleShot(true);
    wake_->setTimerType(Qt::PreciseTimer);
    qApp->installEventFilter(new KeyRouter(qApp));
    firstPaint_ = std::make_unique<AfterFirstPaint>([this] { startEventSound(); });
    QTimer::singleShot(kSoundLatestMs, firstPaint_.get(), [this] { startEventSound(); });
    // A window destroyed behind the game's back is closed, as by its frame:
    // the program does not play on with no window to show.
    destroyed_ = std::make_unique<WindowDestroyed>([this](WId id) {
        for (auto& [form, window] : windows_) {
            if (window->internalWinId() == id) {
                window->askToClose();
                return;
            }
        }
    });
    qApp->installNativeEventFilter(destroyed_.get());
}

void QtPlatform::startEventSound() {
    if (eventSound_ == nullptr) {
        eventSound_ =
            std::make_unique<EventSound>(QGuiApplication::applicationName().toStdString(),
                                         QGuiApplication::desktopFileName().toStdString());
    }
}

QtPlatform::~QtPlatform() {
    for (auto& [form, window] : windows_) {
        const_cast<Form*>(form)->setView(nullptr);
        delete window;
    }
}

std::int64_t QtPlatform::pace(std::int64_t until) {
    if (steppedClock) {
        return steppedClock(until);
    }
    realTime_.giveUpLongLag(until);
    if (realTime_.elapsedMs() - lastGaveBackMs_ >= kGiveBackMemoryMs) {
        lastGaveBackMs_ = realTime_.elapsedMs();
        giveBackFreedMemory();
    }
    const std::uint64_t postedBefore = posted();
    for (;;) {
        // Paints what the game wrote, and takes the player's input.
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const std::int64_t allowed = realTime_.now();
        if (allowed >= until || posted() != postedBefore || ending()) {
            return allowed;
        }
        wake_->start(static_cast<int>(std::min<std::int64_t>(until - allowed, 1 << 30)));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void QtPlatform::linger() {
    while (!ending()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void QtPlatform::windowInput(const Input& input) {
    takeInput(input, steppedClock ? nowMs() : realTime_.now());
}

void QtPlatform::attach(Form& form) {
    auto* window = new FormWindow(form, *this);
    windows_[&form] = window;
    showNotices(*window);
    if (form.Visible()) {
        window->show();
    }
}

void QtPlatform::showNotice(const std::string& text) {
    notices_ += (notices_.empty() ? "" : "; ") + text;
    for (auto& [form, window] : windows_) {
        showNotices(*window);
    }
}

void QtPlatform::showNotices(FormWindow& window) const {
    const Form* form = window.form();
    if (notices_.empty() || form == nullptr || form->owner() != nullptr) {
        return;
    }
    window.setWindowTitle(QString::fromStdString(form->caption() + " - " + notices_));
}

void QtPlatform::windowGone(const Form& form) {
    windows_.erase(&form);
}

FormWindow* QtPlatform::windowOf(const Form& form) const {
    auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second;
}

void QtPlatform::sound() {
    if (onBeep) {
        onBeep();
    }
    if (eventSound_ == nullptr || !eventSound_->play()) {
        QApplication::beep();
    }
}

}  // namespace platform
