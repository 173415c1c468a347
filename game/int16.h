#pragma once

#include <cmath>
#include <concepts>
#include <cstdint>

namespace game {

// The main window's numbers are 16-bit signed and never wrap: a value past
// either end stops there, so a score can climb to 32767 and no further.
class Int16 {
  public:
    static constexpr int kMin = -32768;
    static constexpr int kMax = 32767;

    constexpr Int16() = default;
    template <std::integral T>
    constexpr Int16(T value) : value_(saturate(static_cast<long long>(value))) {}  // NOLINT

    // A position or size in twips turned into a whole 16-bit number.
    static Int16 fromTwips(float twips) {
        return Int16(static_cast<long long>(std::nearbyint(static_cast<double>(twips))));
    }

    constexpr operator int() const { return value_; }  // NOLINT

    // The number as a position in twips.
    constexpr float asTwips() const { return static_cast<float>(value_); }

  private:
    static constexpr std::int16_t saturate(long long v) {
        return static_cast<std::int16_t>(v < kMin ? kMin : (v > kMax ? kMax : v));
    }

    std::int16_t value_ = 0;
};

}  // namespace game
