#pragma once

#include <cstdint>

namespace platform {

// The uniform pseudo-random sequence behind Rnd: numbers in [0, 1) with 24
// bits of single precision, from a fixed start, the same on every build.
class RandomSequence {
  public:
    static constexpr std::uint32_t kStart = 0x2545F491u;

    float next() {
        state_ += 0x9E3779B9u;
        std::uint32_t z = state_;
        z = (z ^ (z >> 16)) * 0x7FEB352Du;
        z = (z ^ (z >> 15)) * 0x846CA68Bu;
        z ^= z >> 16;
        // The top 24 bits fit a float exactly, so the result stays below 1.
        return static_cast<float>(z >> 8) * (1.0f / 16777216.0f);
    }

  private:
    std::uint32_t state_ = kStart;
};

}  // namespace platform
