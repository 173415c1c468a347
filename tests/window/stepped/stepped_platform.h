#pragma once

#include <cstdint>
#include <functional>

#include "platform/qt/qt_platform.h"

namespace window_test {

// The desktop backend on a clock that only the test moves: the real windows,
// painting, focus and key routing, but timers fire and waits pass only when
// the test steps the clock. Between two steps the game stands still, so the
// window on the screen can be compared with a fresh rendering of it.
class SteppedPlatform : public platform::QtPlatform {
  public:
    std::int64_t nowMs() const override { return now_; }
    // A wait's sleep moves the clock on at once.
    void Sleep(int ms) override;
    // Moves the clock on by `ms`, running each timer event that falls due on
    // the way at its own time, and the window events between them.
    void advance(std::int64_t ms);

    // Run once, at the next sleep of a wait: the test looks at the window
    // while the game is frozen inside the wait.
    std::function<void()> whileWaiting;

  private:
    std::int64_t now_ = 0;
};

}  // namespace window_test
