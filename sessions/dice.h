#pragma once

#include <cstdint>

namespace sessions {

// The dice of random play, in the tests and in the benchmarks' sessions: a
// small xorshift generator of its own, so that the same seed rolls the same
// numbers on every machine and a run that failed can be run again by its
// seed.
class Dice {
  public:
    explicit Dice(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 1) {}

    // A number from 0 to n - 1.
    int roll(int n) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<int>(state_ % static_cast<std::uint64_t>(n));
    }

  private:
    std::uint64_t state_;
};

}  // namespace sessions
