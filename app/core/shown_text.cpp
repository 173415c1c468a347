#include "app/core/shown_text.h"

namespace core {

std::string escaped(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte >= 0x20 && byte < 0x7f) {
            out += c;
        } else {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    return out;
}

std::string shortened(std::string_view text) {
    if (text.size() <= kShownBytes) {
        return escaped(text);
    }
    return escaped(text.substr(0, kShownBytes)) + "... (" + std::to_string(text.size()) + " bytes)";
}

std::string singleQuoted(std::string_view text) {
    if (text.size() <= kShownBytes) {
        return "'" + escaped(text) + "'";
    }
    return "'" + escaped(text.substr(0, kShownBytes)) + "...' (" + std::to_string(text.size()) +
           " bytes)";
}

}  // namespace core
