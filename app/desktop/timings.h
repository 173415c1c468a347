#pragma once

#include <QObject>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "game/game_events.h"
#include "platform/platform.h"

namespace desktop {

// For measuring the game from outside: a line for every handler that
// returns, every wait, every beep and every repaint of the main window, with
// the monotonic clock's time in nanoseconds, which another program can set
// beside its own times, and the game's clock:
//
//   tick NS T        a handler returned (tick, key, ghost, start, ...)
//   wait NS T        a wait began (wait_end: it ended)
//   beep NS T BEEPS  the game asked for the dot's sound
//   paint NS         the main window was repainted
class Timings : public QObject, public game::GameEvents {
  public:
    Timings(const std::string& path, const platform::Platform& platform);
    ~Timings() override;
    Timings(const Timings&) = delete;
    Timings& operator=(const Timings&) = delete;

    bool isOpen() const { return file_ != nullptr; }

    void handlerReturned(game::Handler handler, int detail) override;
    void waitBegan(int ms) override;
    void waitEnded() override;
    void beeped();

  protected:
    // Watches the main window's repaints.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void line(std::string_view what, bool withClock, long long extra = -1);

    std::FILE* file_ = nullptr;
    const platform::Platform& platform_;
};

}  // namespace desktop
