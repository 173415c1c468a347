#include <cmath>
#include <cstdint>

#include "game/frm_gulpo.h"

namespace game {

// The game's only source of chance: a whole number from low to high.
std::int32_t FrmGulpo::Rand(std::int32_t low, std::int32_t high) {
    const float r = platform_.Rnd();
    const auto n = static_cast<std::int32_t>(static_cast<std::int64_t>(high) - low + 1);
    const double value = std::floor(static_cast<double>(r) * n) + low;
    return static_cast<std::int32_t>(value);
}

}  // namespace game
