#pragma once

#include <string>
#include <string_view>

namespace gulpo_test {

// The JSON text of a key's value in a trace line: a number as written, a
// string without its quotes, an array with its brackets. Empty when the key
// is missing.
std::string field(std::string_view line, std::string_view key);
// A whole-number field.
long long number(std::string_view line, std::string_view key);
// How often `needle` stands in `text`, overlaps counted.
int occurrences(std::string_view text, std::string_view needle);

}  // namespace gulpo_test
