#pragma once

#include <cstdint>

namespace platform {

// Colours are in the toolkit's 0x00BBGGRR encoding; a value with the top bit
// set names a system colour (0x8000000n).
using Colour = std::uint32_t;

constexpr Colour rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (b << 16) | (g << 8) | r;
}

constexpr Colour kSystemColourFlag = 0x80000000u;
constexpr Colour kMenuText = 0x80000007u;  // black in the standard scheme
constexpr Colour kButtonFace = 0x8000000Fu;
constexpr Colour kWindowBackground = 0x80000005u;
constexpr Colour kWindowText = 0x80000008u;

// The plain colour a system colour stands for in the standard scheme.
Colour resolveColour(Colour c);

constexpr std::uint32_t redOf(Colour c) {
    return c & 0xFFu;
}
constexpr std::uint32_t greenOf(Colour c) {
    return (c >> 8) & 0xFFu;
}
constexpr std::uint32_t blueOf(Colour c) {
    return (c >> 16) & 0xFFu;
}

}  // namespace platform
