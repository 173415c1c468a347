#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/core/usage_error.h"

namespace replay {

// What gulpo-replay was asked to do.
struct Options {
    std::string scriptPath;  // "-" for standard input
    std::optional<std::int64_t> until;
    std::string tracePath;  // empty: standard output
    std::string summaryJsonPath;
    bool noTrace = false;
    bool quiet = false;
    bool help = false;
};

// Reads the command line; throws core::UsageError naming what is wrong.
Options readOptions(int argc, const char* const* argv);

// The usage line and what each option does, as --help prints it.
std::string_view helpText();

}  // namespace replay
