#pragma once

#include <chrono>

#include "game/game_events.h"

namespace probe {

// Times the gaps between ticks, leaving out the gaps that hold a lost life's
// two-second freeze, and reports the rate and the longest gap.
class TickStopwatch : public game::GameEvents {
  public:
    void handlerReturned(game::Handler handler, int detail) override;
    void waitBegan(int ms) override;
    void waitEnded() override {}

    long long ticks() const { return ticks_; }
    // A line on standard error: the ticks run, their rate and the longest gap.
    void report() const;

  private:
    std::chrono::steady_clock::time_point last_;
    long long ticks_ = 0;
    long long intervals_ = 0;
    double measuredMs_ = 0;
    double longest_ = 0;
    bool froze_ = false;
};

}  // namespace probe
