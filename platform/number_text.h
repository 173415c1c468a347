#pragma once

#include <string>

namespace platform {

// A number as the labels show it: its decimal digits, a leading minus when
// negative, no leading blank and no separators.
inline std::string numberText(int n) {
    return std::to_string(n);
}

}  // namespace platform
