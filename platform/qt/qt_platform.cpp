#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <thread>

#include "platform/form.h"
#include "platform/qt/event_sound.h"
#include "platform/qt/form_window.h"

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

}  // namespace

QtPlatform::QtPlatform() : start_(std::chrono::steady_clock::now()), wake_(new QTimer) {
    wake_->setSingleShot(true);
    wake_->setTimerType(Qt::PreciseTimer);
    QObject::connect(wake_.get(), &QTimer::timeout, [this] { deliverDueTimers(); });
    timers().onScheduleChanged = [this] { armWakeUp(); };
    qApp->installEventFilter(new KeyRouter(qApp));
    firstPaint_ = std::make_unique<AfterFirstPaint>([this] { startEventSound(); });
    QTimer::singleShot(kSoundLatestMs, firstPaint_.get(), [this] { startEventSound(); });
}

void QtPlatform::startEventSound() {
    if (eventSound_ == nullptr) {
        eventSound_ =
            std::make_unique<EventSound>(QGuiApplication::applicationName().toStdString(),
                                         QGuiApplication::desktopFileName().toStdString());
    }
}

QtPlatform::~QtPlatform() {
    timers().onScheduleChanged = nullptr;
    for (auto& [form, window] : windows_) {
        form->setView(nullptr);
        delete window;
    }
}

std::int64_t QtPlatform::nowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

void QtPlatform::Sleep(int ms) {
    if (ms > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

void QtPlatform::DoEvents() {
    if (ending()) {
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    deliverDueTimers();
}

void QtPlatform::deliverDueTimers() {
    std::int64_t due = 0;
    Timer* timer = nullptr;
    while (!ending() && timers().nextDue(due, timer) && due <= nowMs()) {
        timers().fire(*timer);
    }
    armWakeUp();
}

void QtPlatform::armWakeUp() {
    std::int64_t due = 0;
    Timer* timer = nullptr;
    if (ending() || !timers().nextDue(due, timer)) {
        wake_->stop();
        return;
    }
    const std::int64_t wait = std::max<std::int64_t>(0, due - nowMs());
    wake_->start(static_cast<int>(std::min<std::int64_t>(wait, 1 << 30)));
}

void QtPlatform::attach(Form& form) {
    auto* window = new FormWindow(form, *this);
    windows_[&form] = window;
    if (form.Visible()) {
        window->show();
    }
}

void QtPlatform::windowGone(const Form& form) {
    windows_.erase(const_cast<Form*>(&form));
}

FormWindow* QtPlatform::windowOf(const Form& form) const {
    auto it = windows_.find(const_cast<Form*>(&form));
    return it == windows_.end() ? nullptr : it->second;
}

void QtPlatform::endProgram() {
    Platform::endProgram();
    wake_->stop();
    QCoreApplication::exit(0);
}

int QtPlatform::run() {
    // Qt's exit() stops only a loop that is running: a close taken before
    // the loop started would otherwise be lost.
    if (ending()) {
        return 0;
    }
    return QApplication::exec();
}

void QtPlatform::sound() {
    if (eventSound_ == nullptr || !eventSound_->play()) {
        QApplication::beep();
    }
}

}  // namespace platform
