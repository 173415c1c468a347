// Prints the benchmark's ten-minute random session as a replay script.
#include <cstdio>
#include <cstdlib>

#include "bench/session_script.h"

int main(int argc, char** argv) {
    const auto seed = static_cast<unsigned>(argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1);
    std::fputs(bench::randomSession(seed).c_str(), stdout);
    return 0;
}
