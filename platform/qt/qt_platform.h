#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/real_time.h"

class QObject;
class QTimer;

namespace platform {

class EventSound;
class FormWindow;
class WindowDestroyed;

// The desktop backend: real windows, the desktop's event sound (the X bell
// where no sound server plays it), and the game's clock paced to real time,
// with the window system's events (painting, the player's input) handled
// while the clock waits. A QApplication must exist before it is made.
class QtPlatform : public Platform {
  public:
    QtPlatform();
    ~QtPlatform() override;

    void attach(Form& form) override;
    // After the main window's caption: "Gulpo - the trace stopped: ...".
    void showNotice(const std::string& text) override;

    // The window showing a form, if it has one.
    FormWindow* windowOf(const Form& form) const;
    void windowGone(const Form& form);

    // The player's input in a window, taken now.
    void windowInput(const Input& input);

    // Paces the clock some other way than to real time (a test steps it):
    // called as pace() is, with the same contract.
    std::function<std::int64_t(std::int64_t until)> steppedClock;

    // Shows the windows, running nothing of the game, until the program
    // ends.
    void linger();

    // Told whenever the game asks for the dot's sound, before it plays.
    std::function<void()> onBeep;

  protected:
    std::int64_t pace(std::int64_t until) override;
    void sound() override;

  private:
    void startEventSound();
    void showNotices(FormWindow& window) const;

    RealTime realTime_;
    // When freed memory last went back to the system (elapsedMs).
    std::int64_t lastGaveBackMs_ = 0;
    std::unique_ptr<QTimer> wake_;
    // Made once the window is on screen.
    std::unique_ptr<EventSound> eventSound_;
    std::unique_ptr<QObject> firstPaint_;
    std::unique_ptr<WindowDestroyed> destroyed_;
    std::map<const Form*, FormWindow*> windows_;
    std::string notices_;
};

}  // namespace platform
