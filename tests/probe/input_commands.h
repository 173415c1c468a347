#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <functional>

class QWindow;

namespace probe {

// Input for a session that has no input devices (a headless Wayland
// compositor has no seat): reads commands, a line each, from a file
// descriptor and hands them to the main window the way the window system's
// plugin does, through Qt's window-system interface.
//
//   key Alt+S     a press and release of the key, as Qt names it
//   close         the window's close button on the frame
class InputCommands : public QObject {
  public:
    InputCommands(int fd, std::function<QWindow*()> mainWindow);

  private:
    void readAvailable();
    void run(const QByteArray& line);

    int fd_;
    std::function<QWindow*()> mainWindow_;
    QSocketNotifier notifier_;
    QByteArray pending_;
};

}  // namespace probe
