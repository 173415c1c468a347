#pragma once

#include <string>

#include "tests/window/x_session.h"

namespace window_test {

// Where the tests leave their screenshots and the program's output.
std::string artifactPath(const std::string& fileName);

// Writes the screenshot as a PNG file; false if it could not.
bool savePng(const Screenshot& shot, const std::string& path);

// Reads a PNG file as a screenshot; empty if it could not.
Screenshot loadPng(const std::string& path);

}  // namespace window_test
