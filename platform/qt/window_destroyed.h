#pragma once

#include <QAbstractNativeEventFilter>
#include <QWidget>
#include <functional>

namespace platform {

// Hears of a window of the program destroyed on the X server by anything
// but the program (another client's XDestroyWindow): Qt does not, and would
// go on with a window that is no longer there.
class WindowDestroyed : public QAbstractNativeEventFilter {
  public:
    // `gone` is told the id of each such window.
    explicit WindowDestroyed(std::function<void(WId)> gone) : gone_(std::move(gone)) {}

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    std::function<void(WId)> gone_;
};

}  // namespace platform
