#pragma once

#include <ostream>
#include <string>

namespace gulpo_test {

// Script lines at time t: Start at 0 and, from t on, the three ghosts held
// still in the pen (both steps 0) so that a test can set a scene up without
// them wandering into it.
std::string startedWithGhostsParked(long long t);
// Script lines at time t hiding shpFood(first) to shpFood(last).
std::string hideDots(long long t, int first, int last);
// Start, then at 2000, just before the first tick at 2017, the ghosts
// parked and shpFood(first) to shpFood(last) already eaten.
std::string startedWithDotsEaten(int first, int last);

// A case of a reach or a contact test: the player placed at (left, top),
// and whether it eats there what the test is about.
struct PlayerAt {
    int left;
    int top;
    bool eats;
};
void PrintTo(const PlayerAt& at, std::ostream* os);
// The script line, at time t, placing the player there.
std::string placePlayer(long long t, const PlayerAt& at);

}  // namespace gulpo_test
