#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace sessions {

// The whole content of a file, "" if it cannot be read: a trace, a log.
inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace sessions
