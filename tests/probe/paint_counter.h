#pragma once

#include <QObject>

#include "game/game_events.h"

namespace probe {

// Counts the main window's repaints between one tick and the next, over
// the stretches of play where nothing but the tick ran: a key, a ghost's
// frightened timer or a wait in between leaves that stretch out. A tick's
// changes should reach the screen in one repaint, after the tick.
class PaintCounter : public QObject, public game::GameEvents {
  public:
    void handlerReturned(game::Handler handler, int detail) override;
    void waitBegan(int ms) override;
    void waitEnded() override {}

    // A line on standard error: the stretches counted, the most repaints in
    // one, how many had more than one, and the repaints in all.
    void report() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    long long paints_ = 0;
    long long sinceTick_ = 0;
    bool mixed_ = true;  // until the first tick
    long long stretches_ = 0;
    long long most_ = 0;
    long long overOne_ = 0;
};

}  // namespace probe
