#pragma once

#include <chrono>
#include <map>
#include <memory>

#include "platform/platform.h"

class QObject;
class QTimer;

namespace platform {

class EventSound;
class FormWindow;

// The desktop backend: real windows, real timers on a steady clock, a real
// sleep, the desktop's event sound (the X bell where no sound server plays
// it), and Qt's event processing as the pump. A QApplication must exist
// before it is made.
class QtPlatform : public Platform {
  public:
    QtPlatform();
    ~QtPlatform() override;

    std::int64_t nowMs() const override;
    void Sleep(int ms) override;
    void DoEvents() override;
    void attach(Form& form) override;
    void endProgram() override;

    // Runs the event loop until the program ends; returns its exit status.
    int run();

    // The window showing a form, if it has one.
    FormWindow* windowOf(const Form& form) const;

  protected:
    void sound() override;

  private:
    void deliverDueTimers();
    void armWakeUp();
    void windowGone(const Form& form);
    void startEventSound();

    std::chrono::steady_clock::time_point start_;
    std::unique_ptr<QTimer> wake_;
    // Made once the window is on screen.
    std::unique_ptr<EventSound> eventSound_;
    std::unique_ptr<QObject> firstPaint_;
    std::map<Form*, FormWindow*> windows_;

    friend class FormWindow;
};

}  // namespace platform
