#include "tests/support/script_lines.h"

namespace gulpo_test {

std::string startedWithGhostsParked(long long t) {
    std::string s = "0 click start\n";
    for (const char* v : {"Ghost1DX", "Ghost1DY", "Ghost2DX", "Ghost2DY", "Ghost3DX", "Ghost3DY"}) {
        s += std::to_string(t) + " set " + v + " 0\n";
    }
    return s;
}

std::string hideDots(long long t, int first, int last) {
    std::string s;
    for (int i = first; i <= last; ++i) {
        s += std::to_string(t) + " food " + std::to_string(i) + " 0\n";
    }
    return s;
}

std::string startedWithDotsEaten(int first, int last) {
    return startedWithGhostsParked(2000) + hideDots(2000, first, last);
}

void PrintTo(const PlayerAt& at, std::ostream* os) {
    *os << "player at (" << at.left << ", " << at.top << ")"
        << (at.eats ? ", eats" : ", does not eat");
}

std::string placePlayer(long long t, const PlayerAt& at) {
    return std::to_string(t) + " place imgGulpo " + std::to_string(at.left) + " " +
           std::to_string(at.top) + "\n";
}

}  // namespace gulpo_test
