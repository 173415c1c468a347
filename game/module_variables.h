#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "game/frm_gulpo.h"

namespace game {

// One module variable of the main window: its name and where it lives.
struct ModuleVariable {
    std::string_view name;
    Int16 FrmGulpo::*member;
    // The dot counts and the coin are made afresh in every tick before
    // anything reads them, so a value put there from outside would never
    // be seen.
    bool madeAfreshEachTick;
};

// Every module variable of the main window, in the order the game's state
// is written out.
inline constexpr std::array<ModuleVariable, 16> kModuleVariables = {{
    {"PlayerDX", &FrmGulpo::PlayerDX, false},
    {"PlayerDY", &FrmGulpo::PlayerDY, false},
    {"Ghost1DX", &FrmGulpo::Ghost1DX, false},
    {"Ghost1DY", &FrmGulpo::Ghost1DY, false},
    {"Ghost2DX", &FrmGulpo::Ghost2DX, false},
    {"Ghost2DY", &FrmGulpo::Ghost2DY, false},
    {"Ghost3DX", &FrmGulpo::Ghost3DX, false},
    {"Ghost3DY", &FrmGulpo::Ghost3DY, false},
    {"Score", &FrmGulpo::Score, false},
    {"Lives", &FrmGulpo::Lives, false},
    {"Level", &FrmGulpo::Level, false},
    {"DotsEaten", &FrmGulpo::DotsEaten, true},
    {"FruitDotsEaten", &FrmGulpo::FruitDotsEaten, true},
    {"CoinFlip", &FrmGulpo::CoinFlip, true},
    {"PlayerStartLeft", &FrmGulpo::PlayerStartLeft, false},
    {"PlayerStartTop", &FrmGulpo::PlayerStartTop, false},
}};

// The module variable of that name, or none.
constexpr const ModuleVariable* findModuleVariable(std::string_view name) {
    for (const ModuleVariable& v : kModuleVariables) {
        if (v.name == name) {
            return &v;
        }
    }
    return nullptr;
}

namespace detail {
// A row copied from the one above it and only half edited names one
// variable twice or points two names at one variable.
constexpr bool eachVariableListedOnce() {
    for (std::size_t i = 0; i < kModuleVariables.size(); ++i) {
        for (std::size_t j = i + 1; j < kModuleVariables.size(); ++j) {
            if (kModuleVariables[i].name == kModuleVariables[j].name ||
                kModuleVariables[i].member == kModuleVariables[j].member) {
                return false;
            }
        }
    }
    return true;
}
}  // namespace detail
static_assert(detail::eachVariableListedOnce());

}  // namespace game
