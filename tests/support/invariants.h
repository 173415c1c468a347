#pragma once

#include <string>

#include "game/frm_gulpo.h"

namespace gulpo_test {

// The rules that hold after every handler of the game: a ghost's one step
// of 25, the player's steps, the frightened state's two signs together, the
// score's range, lives and level, the dot counters and the labels. Returns
// what is broken, or "" when all hold.
std::string brokenInvariant(game::FrmGulpo& g);

}  // namespace gulpo_test
