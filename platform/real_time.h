#pragma once

#include <chrono>
#include <cstdint>

#include "platform/platform.h"

namespace platform {

// The game's clock paced to real time, as the backends that show the game
// to a player pace it. A late wake-up is made up: the events it missed run
// back to back at their own times. A lag longer than kMostCaughtUpMs (a
// stall, a stopped process, a hidden page) is given up instead, so that
// the game goes on from where it stood rather than rushing through the
// time it missed.
class RealTime {
  public:
    static constexpr std::int64_t kMostCaughtUpMs = 100;

    RealTime() : start_(std::chrono::steady_clock::now()) {}

    // Real milliseconds since the clock was made.
    std::int64_t elapsedMs() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start_)
            .count();
    }
    // The latest time the game's clock may read now.
    std::int64_t now() const { return elapsedMs() - behindMs_; }
    // The game's clock is about to be paced to `until`: a lag of more than
    // kMostCaughtUpMs behind real time is given up there.
    void giveUpLongLag(std::int64_t until) {
        if (until != kNever && now() - until > kMostCaughtUpMs) {
            behindMs_ += now() - until;
        }
    }

  private:
    std::chrono::steady_clock::time_point start_;
    // How far the game's clock runs behind real time.
    std::int64_t behindMs_ = 0;
};

}  // namespace platform
