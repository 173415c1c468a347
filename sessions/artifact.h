#pragma once

// What a session sees and leaves behind: pictures of windows and outputs,
// and the folder of artifacts where its logs and pictures stay for a look
// after the run.

#include <cstdint>
#include <string>
#include <vector>

namespace sessions {

// Where the sessions leave their logs and pictures.
std::string artifactPath(const std::string& fileName);

// A window's picture: 0x00RRGGBB per pixel, rows top first.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool empty() const { return pixels.empty(); }
    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// The `width` by `height` pixels of `shot` from (left, top) on, which lie
// within it.
Screenshot crop(const Screenshot& shot, int left, int top, int width, int height);

// Writes the screenshot as a PNG file; false if it could not.
bool savePng(const Screenshot& shot, const std::string& path);

// Reads a PNG file as a screenshot; empty if it could not.
Screenshot loadPng(const std::string& path);

}  // namespace sessions
