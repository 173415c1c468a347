#pragma once

#include <string>

#include "app/core/script.h"

namespace core {

// Reads and checks the script named on the command line: a regular file or
// a stream (a pipe, a terminal, "-" for standard input), read a piece at a
// time. A directory or anything else that is not a script, a read that
// fails, and a bad script throw ScriptError.
Script readScriptFile(const std::string& path);

// The script's name as messages give it: "<stdin>" for standard input.
std::string shownScriptName(const std::string& path);

}  // namespace core
