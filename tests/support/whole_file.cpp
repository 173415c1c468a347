#include "tests/support/whole_file.h"

#include <fstream>
#include <sstream>

namespace gulpo_test {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace gulpo_test
