#include "tests/support/trace_fields.h"

#include <stdexcept>

namespace gulpo_test {

std::string field(std::string_view line, std::string_view key) {
    const std::string needle = "\"" + std::string(key) + "\":";
    const std::size_t at = line.find(needle);
    if (at == std::string_view::npos) {
        return {};
    }
    std::size_t i = at + needle.size();
    if (i >= line.size()) {
        return {};
    }
    if (line[i] == '"') {
        const std::size_t close = line.find('"', i + 1);
        return std::string(line.substr(i + 1, close - i - 1));
    }
    if (line[i] == '[') {
        const std::size_t close = line.find(']', i);
        return std::string(line.substr(i, close - i + 1));
    }
    std::size_t j = i;
    while (j < line.size() && line[j] != ',' && line[j] != '}') {
        ++j;
    }
    return std::string(line.substr(i, j - i));
}

long long number(std::string_view line, std::string_view key) {
    const std::string text = field(line, key);
    if (text.empty()) {
        throw std::invalid_argument("trace line has no number '" + std::string(key) +
                                    "': " + std::string(line));
    }
    return std::stoll(text);
}

int occurrences(std::string_view text, std::string_view needle) {
    int found = 0;
    for (std::size_t at = text.find(needle); at != std::string_view::npos;
         at = text.find(needle, at + 1)) {
        ++found;
    }
    return found;
}

}  // namespace gulpo_test
