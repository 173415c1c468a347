#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// How much of a bad token a message shows.
inline constexpr std::size_t kShownBytes = 40;

// Text from a script or the command line as a terminal can show it in a
// message: printable ASCII as it stands, a backslash doubled, and every
// other byte (control bytes, NUL, the bytes of other alphabets) as \xNN.
std::string escaped(std::string_view text);

// The same, cut to its first kShownBytes bytes with its whole length said
// after it ("99999999999999999999999999999999999999... (4000 bytes)").
std::string shortened(std::string_view text);

// A shortened token in single quotes, as messages quote what they found.
std::string singleQuoted(std::string_view text);

}  // namespace core
