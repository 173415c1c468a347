#include "bench/session_script.h"

#include "sessions/dice.h"

namespace bench {

std::string randomSession(std::uint32_t seed, long long lengthMs) {
    sessions::Dice dice(seed);
    std::string s = "0 click start\n";
    for (long long t = 2100; t < lengthMs; t += 100 + dice.roll(900)) {
        s +=
            std::to_string(t) +
            (dice.roll(10) == 0 ? " key 13\n" : " key " + std::to_string(37 + dice.roll(4)) + "\n");
    }
    s += std::to_string(lengthMs) + " end\n";
    return s;
}

}  // namespace bench
