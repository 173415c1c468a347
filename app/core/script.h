#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// What a script line does, named as scripts write it.
enum class Verb : std::uint8_t { key, alt, click, closewin, set, place, food, big, end };
inline constexpr std::array<std::string_view, 9> kVerbNames = {
    "key", "alt", "click", "closewin", "set", "place", "food", "big", "end"};
static_assert(kVerbNames.size() == static_cast<std::size_t>(Verb::end) + 1,
              "every verb has one name");
inline std::string_view verbName(Verb verb) {
    return kVerbNames[static_cast<std::size_t>(verb)];
}
// The verbs that write into the game's state rather than press or close
// something; the trace shows them with their arguments as written.
inline bool isInjection(Verb verb) {
    return verb == Verb::set || verb == Verb::place || verb == Verb::food || verb == Verb::big;
}

// The buttons a click names, the windows a frame close names and the
// sprites a script may place, in the order their numbers are given.
inline constexpr std::array<std::string_view, 3> kScriptButtons = {"start", "about", "close"};
inline constexpr std::array<std::string_view, 2> kScriptWindows = {"about", "main"};
inline constexpr std::array<std::string_view, 4> kScriptSprites = {"imgGulpo", "imgGhost1",
                                                                   "imgGhost2", "imgGhost3"};

// One timed input event of a replay script, already checked, in a few
// bytes so that a long script stays small in memory. The arguments as
// numbers: a key code; a letter; an index into kScriptButtons, kScriptWindows, kScriptSprites
// or game::kModuleVariables; the value, position, dot index or visibility.
struct ScriptEvent {
    std::int32_t t = 0;
    std::int32_t line = 0;
    Verb verb = Verb::end;
    std::array<std::int16_t, 3> args{};
    // The arguments as written, for the trace of an injection: a slice of
    // Script::writtenArgs.
    std::uint32_t writtenAt = 0;
    std::uint16_t writtenLength = 0;
};

struct Script {
    std::vector<ScriptEvent> events;
    // The time of the script's `end` line, if it has one.
    std::optional<std::int64_t> end;
    // The injections' arguments as written, separated by single spaces.
    std::string writtenArgs;

    std::string_view written(const ScriptEvent& e) const {
        return std::string_view(writtenArgs).substr(e.writtenAt, e.writtenLength);
    }
};

// Whether the script ends its own game, however late: with an end line,
// or by closing the main window.
bool endsItsOwnGame(const Script& script);

// A script that cannot be run: the message names the file, the line and
// what is wrong ("moves.txt:7: key code 300 is out of range 0 to 255").
class ScriptError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The latest time a script or --until may name: a day of virtual time.
inline constexpr std::int64_t kLatestScriptTime = 86'400'000;

// The most a script may hold: its bytes, the bytes of one line (its line
// end not counted) and its events. A day of busy play is far inside them;
// a script past them is refused before anything runs.
inline constexpr std::size_t kLongestScript = 64u << 20;
inline constexpr std::size_t kLongestLine = 4096;
inline constexpr std::size_t kMostEvents = 1'000'000;

// Reads a script a piece at a time, as it comes from a file or a pipe,
// checking each line as it ends. A fault anywhere throws ScriptError and
// nothing of the script is returned. Lines end with LF, CR LF or CR; a
// byte-order mark at the very start is skipped.
class ScriptReader {
  public:
    // `fileName` as messages show it.
    explicit ScriptReader(std::string fileName) : fileName_(std::move(fileName)) {}

    void feed(std::string_view bytes);
    // The whole script, once the last piece has been fed.
    Script finish();

  private:
    [[noreturn]] void fail(const std::string& what) const;
    void checkLineLength(std::size_t length) const;
    void extendLine(std::string_view piece);
    void endLine();
    void takeLine(std::string_view line);
    ScriptEvent event(const std::vector<std::string_view>& words);
    void keepWritten(ScriptEvent& e, const std::vector<std::string_view>& words);
    std::int64_t number(std::string_view text, std::string_view what, std::int64_t lo,
                        std::int64_t hi) const;

    std::string fileName_;
    std::size_t size_ = 0;
    int lineNo_ = 0;
    std::string partial_;
    bool afterCR_ = false;
    std::int64_t previous_ = 0;
    std::vector<std::string_view> words_;
    Script script_;
};

// Reads a whole script held in memory.
Script parseScript(std::string_view text, const std::string& fileName);

}  // namespace core
