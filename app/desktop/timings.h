#pragma once

#include <QObject>
#include <chrono>
#include <string_view>

#include "app/core/output_file.h"
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
    // Writes to `file`, which is open.
    Timings(core::OutputFile& file, const platform::Platform& platform);

    void handlerReturned(game::Handler handler, int detail) override;
    void waitBegan(int ms) override;
    void waitEnded() override;
    void beeped();

  protected:
    // Watches the main window's repaints.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void line(std::string_view what, bool withClock, long long extra = -1);

    core::OutputFile& file_;
    const platform::Platform& platform_;
};

}  // namespace desktop
