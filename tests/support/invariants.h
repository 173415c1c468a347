#pragma once

#include <memory>
#include <string>

#include "app/core/replay.h"
#include "game/frm_gulpo.h"

namespace gulpo_test {

// Whether the ghosts' steps are the game's own. A script that sets them
// itself (to park the ghosts in the pen) takes them out of the step rule.
enum class GhostSteps { checked, setByScript };

// The rules that hold after every handler of the game: a ghost's one step
// of 25, the player's steps, the frightened state's two signs together, the
// score's range, lives and level, the dot counters and the labels. Returns
// what is broken, or "" when all hold.
std::string brokenInvariant(game::FrmGulpo& g, GhostSteps steps = GhostSteps::checked);

// Checks the rules on the game as it stands and then after every handler,
// injection and window close of the replay. The string holds the first
// broken rule with the virtual time it was found at, "" while all hold.
std::shared_ptr<const std::string> watchInvariants(core::Replay& replay,
                                                   GhostSteps steps = GhostSteps::checked);

}  // namespace gulpo_test
