#pragma once

#include <cstdint>
#include <string>

namespace bench {

// A ten-minute session of random play as a replay script: Start, arrow keys
// every few hundred milliseconds, and Enter now and then so that a new game
// or level starts soon after play stops. The same seed, the same script.
std::string randomSession(std::uint32_t seed, long long lengthMs = 600000);

}  // namespace bench
