#include "bench/session_script.h"

namespace bench {

std::string randomSession(std::uint32_t seed, long long lengthMs) {
    std::uint32_t x = seed * 2654435761u + 1u;
    auto roll = [&x](std::uint32_t n) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return x % n;
    };
    std::string s = "0 click start\n";
    for (long long t = 2100; t < lengthMs; t += 100 + roll(900)) {
        const std::uint32_t r = roll(10);
        s += std::to_string(t) +
             (r == 0 ? " key 13\n" : " key " + std::to_string(37 + roll(4)) + "\n");
    }
    s += std::to_string(lengthMs) + " end\n";
    return s;
}

}  // namespace bench
