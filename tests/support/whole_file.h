#pragma once

#include <string>

namespace gulpo_test {

// The whole content of a file, "" if it cannot be read: a trace, a log.
std::string readFile(const std::string& path);

}  // namespace gulpo_test
