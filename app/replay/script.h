#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace replay {

// One timed input event of a replay script.
struct ScriptEvent {
    std::int64_t t = 0;
    std::string verb;
    std::vector<std::string> args;
    int line = 0;
};

struct Script {
    std::vector<ScriptEvent> events;
    // The time of the script's `end` line, if it has one.
    std::optional<std::int64_t> end;
};

// A script that cannot be run: the message names the file, the line and
// what is wrong ("moves.txt:7: key code 300 is out of range 0 to 255").
class ScriptError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The latest time a script or --until may name: a day of virtual time.
inline constexpr std::int64_t kLatestScriptTime = 86'400'000;

// Reads a whole script; a fault anywhere throws ScriptError and nothing of
// the script is returned.
Script parseScript(std::string_view text, const std::string& fileName);

}  // namespace replay
