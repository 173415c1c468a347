#include "app/replay/script.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <sstream>

#include "game/module_variables.h"

namespace replay {

namespace {

// A script may set every module variable but those each tick makes afresh.
constexpr std::size_t settableCount() {
    std::size_t n = 0;
    for (const game::ModuleVariable& v : game::kModuleVariables) {
        n += v.madeAfreshEachTick ? 0 : 1;
    }
    return n;
}
constexpr auto kSettableVariables = [] {
    std::array<std::string_view, settableCount()> names{};
    std::size_t n = 0;
    for (const game::ModuleVariable& v : game::kModuleVariables) {
        if (!v.madeAfreshEachTick) {
            names[n++] = v.name;
        }
    }
    return names;
}();
constexpr std::array<std::string_view, 4> kSprites = {"imgGulpo", "imgGhost1", "imgGhost2",
                                                      "imgGhost3"};
constexpr std::int64_t kLatestTime = kLatestScriptTime;

class LineReader {
  public:
    LineReader(const std::string& file, int line) : file_(file), line_(line) {}

    [[noreturn]] void fail(const std::string& what) const {
        throw ScriptError(file_ + ":" + std::to_string(line_) + ": " + what);
    }

    std::int64_t number(const std::string& text, const std::string& what, std::int64_t lo,
                        std::int64_t hi) const {
        std::int64_t value = 0;
        const char* first = text.data();
        const char* last = text.data() + text.size();
        auto [ptr, ec] = std::from_chars(first, last, value);
        if (text.empty() || ec == std::errc::invalid_argument || ptr != last) {
            fail(what + " '" + text + "' is not a whole number");
        }
        if (ec == std::errc::result_out_of_range || value < lo || value > hi) {
            fail(what + " " + text + " is out of range " + std::to_string(lo) + " to " +
                 std::to_string(hi));
        }
        return value;
    }

    void expectArgs(const ScriptEvent& e, std::size_t count, const std::string& usage) const {
        if (e.args.size() != count) {
            fail("'" + e.verb + "' takes " + std::to_string(count) +
                 (count == 1 ? " argument" : " arguments") + " (" + usage + "), found " +
                 std::to_string(e.args.size()));
        }
    }

    template <std::size_t N>
    void oneOf(const std::string& value, const std::array<std::string_view, N>& allowed,
               const std::string& what) const {
        if (std::find(allowed.begin(), allowed.end(), value) != allowed.end()) {
            return;
        }
        std::string list;
        for (auto a : allowed) {
            list += (list.empty() ? "" : ", ") + std::string(a);
        }
        fail("unknown " + what + " '" + value + "' (expected one of " + list + ")");
    }

  private:
    const std::string& file_;
    int line_;
};

void checkEvent(const ScriptEvent& e, const LineReader& in) {
    if (e.verb == "key") {
        in.expectArgs(e, 1, "key code 0..255");
        in.number(e.args[0], "key code", 0, 255);
    } else if (e.verb == "alt") {
        in.expectArgs(e, 1, "a letter");
        const std::string& a = e.args[0];
        if (a.size() != 1 || !std::isalpha(static_cast<unsigned char>(a[0]))) {
            in.fail("'alt' takes a single letter, found '" + a + "'");
        }
    } else if (e.verb == "click") {
        in.expectArgs(e, 1, "start, about or close");
        in.oneOf(e.args[0], std::array<std::string_view, 3>{"start", "about", "close"}, "button");
    } else if (e.verb == "closewin") {
        in.expectArgs(e, 1, "about or main");
        in.oneOf(e.args[0], std::array<std::string_view, 2>{"about", "main"}, "window");
    } else if (e.verb == "set") {
        in.expectArgs(e, 2, "variable and value");
        in.oneOf(e.args[0], kSettableVariables, "variable");
        in.number(e.args[1], "value", -32768, 32767);
    } else if (e.verb == "place") {
        in.expectArgs(e, 3, "sprite, left and top");
        in.oneOf(e.args[0], kSprites, "sprite");
        in.number(e.args[1], "left", -32768, 32767);
        in.number(e.args[2], "top", -32768, 32767);
    } else if (e.verb == "food" || e.verb == "big") {
        in.expectArgs(e, 2, "index and 0 or 1");
        in.number(e.args[0], e.verb + " index", 0, e.verb == "food" ? 75 : 3);
        in.number(e.args[1], "visibility", 0, 1);
    } else if (e.verb == "end") {
        in.expectArgs(e, 0, "nothing");
    } else {
        in.fail("unknown verb '" + e.verb +
                "' (expected key, alt, click, closewin, set, place, food, big or end)");
    }
}

}  // namespace

Script parseScript(std::string_view text, const std::string& fileName) {
    Script script;
    std::int64_t previous = 0;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t eol = std::min(text.find('\n', pos), text.size());
        std::string line(text.substr(pos, eol - pos));
        pos = eol + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::istringstream words(line);
        std::vector<std::string> parts;
        for (std::string w; words >> w;) {
            parts.push_back(w);
        }
        if (parts.empty() || parts[0][0] == '#') {
            if (eol == text.size()) {
                break;
            }
            continue;
        }
        const LineReader in(fileName, lineNo);
        if (parts.size() < 2) {
            in.fail("expected '<time> <verb> [arguments]', found '" + parts[0] + "'");
        }
        ScriptEvent e;
        e.line = lineNo;
        e.t = in.number(parts[0], "time", 0, kLatestTime);
        if (e.t < previous) {
            in.fail("time " + parts[0] + " goes backwards (the line before is at " +
                    std::to_string(previous) + ")");
        }
        previous = e.t;
        e.verb = parts[1];
        e.args.assign(parts.begin() + 2, parts.end());
        checkEvent(e, in);
        if (e.verb == "end" && !script.end) {
            script.end = e.t;
        }
        script.events.push_back(std::move(e));
        if (eol == text.size()) {
            break;
        }
    }
    return script;
}

}  // namespace replay
