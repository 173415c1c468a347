#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

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

// A command line that cannot be followed; the message says why.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

Options readOptions(int argc, const char* const* argv);

// The usage line and what each option does, as --help prints it.
std::string_view helpText();

}  // namespace replay
