#include "app/core/script.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <span>

#include "app/core/shown_text.h"
#include "game/module_variables.h"

namespace core {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t\v\f";

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

std::string listed(std::span<const std::string_view> names, std::string_view lastJoin) {
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            list += i + 1 == names.size() ? lastJoin : ", ";
        }
        list += names[i];
    }
    return list;
}

// Where a name stands in its list, or -1.
int indexOf(std::string_view name, std::span<const std::string_view> names) {
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

}  // namespace

void ScriptReader::fail(const std::string& what) const {
    throw ScriptError(fileName_ + ":" + std::to_string(lineNo_ + 1) + ": " + what);
}

void ScriptReader::feed(std::string_view bytes) {
    const std::size_t room = kLongestScript - size_;
    if (bytes.size() > room) {
        // Read up to the limit, so that the message names the line it falls in.
        feed(bytes.substr(0, room));
        fail("the script is longer than " + std::to_string(kLongestScript) + " bytes");
    }
    size_ += bytes.size();
    std::size_t pos = 0;
    if (afterCR_ && !bytes.empty()) {
        // A CR LF split between two pieces is one line end.
        afterCR_ = false;
        pos = bytes.front() == '\n' ? 1 : 0;
    }
    while (pos < bytes.size()) {
        const std::size_t eol = bytes.find_first_of("\r\n", pos);
        if (eol == std::string_view::npos) {
            extendLine(bytes.substr(pos));
            return;
        }
        const std::string_view piece = bytes.substr(pos, eol - pos);
        if (partial_.empty()) {
            checkLineLength(piece.size());
            takeLine(piece);
        } else {
            extendLine(piece);
            takeLine(partial_);
            partial_.clear();
        }
        ++lineNo_;
        pos = eol + 1;
        if (bytes[eol] == '\r') {
            if (pos == bytes.size()) {
                afterCR_ = true;
            } else if (bytes[pos] == '\n') {
                ++pos;
            }
        }
    }
}

void ScriptReader::checkLineLength(std::size_t length) const {
    if (length > kLongestLine) {
        fail("the line is longer than " + std::to_string(kLongestLine) + " bytes");
    }
}

void ScriptReader::extendLine(std::string_view piece) {
    checkLineLength(partial_.size() + piece.size());
    partial_.append(piece);
}

Script ScriptReader::finish() {
    if (!partial_.empty()) {
        takeLine(partial_);
        partial_.clear();
        ++lineNo_;
    }
    return std::move(script_);
}

void ScriptReader::takeLine(std::string_view line) {
    if (lineNo_ == 0 && line.starts_with(kByteOrderMark)) {
        line.remove_prefix(kByteOrderMark.size());
    }
    words_.clear();
    for (std::size_t at = line.find_first_not_of(kBlanks); at != std::string_view::npos;) {
        const std::size_t after = std::min(line.find_first_of(kBlanks, at), line.size());
        words_.push_back(line.substr(at, after - at));
        at = line.find_first_not_of(kBlanks, after);
    }
    if (words_.empty() || words_[0].front() == '#') {
        return;
    }
    if (script_.events.size() == kMostEvents) {
        fail("the script has more than " + std::to_string(kMostEvents) + " events");
    }
    script_.events.push_back(event(words_));
}

std::int64_t ScriptReader::number(std::string_view text, std::string_view what, std::int64_t lo,
                                  std::int64_t hi) const {
    std::int64_t value = 0;
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), last, value);
    if (ec == std::errc::invalid_argument || ptr != last) {
        fail(std::string(what) + " " + singleQuoted(text) + " is not a whole number");
    }
    if (ec == std::errc::result_out_of_range || value < lo || value > hi) {
        fail(std::string(what) + " " + shortened(text) + " is out of range " + std::to_string(lo) +
             " to " + std::to_string(hi));
    }
    return value;
}

ScriptEvent ScriptReader::event(const std::vector<std::string_view>& words) {
    if (words.size() < 2) {
        fail("expected '<time> <verb> [arguments]', found " + singleQuoted(words[0]));
    }
    ScriptEvent e;
    e.line = lineNo_ + 1;
    e.t = static_cast<std::int32_t>(number(words[0], "time", 0, kLatestScriptTime));
    if (e.t < previous_) {
        fail("time " + shortened(words[0]) + " goes backwards (the line before is at " +
             std::to_string(previous_) + ")");
    }
    previous_ = e.t;
    const int verb = indexOf(words[1], kVerbNames);
    if (verb < 0) {
        fail("unknown verb " + singleQuoted(words[1]) + " (expected " + listed(kVerbNames, " or ") +
             ")");
    }
    e.verb = static_cast<Verb>(verb);
    const std::span<const std::string_view> args(words.data() + 2, words.size() - 2);
    auto expectArgs = [&](std::size_t count, std::string_view usage) {
        if (args.size() != count) {
            fail("'" + std::string(words[1]) + "' takes " + std::to_string(count) +
                 (count == 1 ? " argument" : " arguments") + " (" + std::string(usage) +
                 "), found " + std::to_string(args.size()));
        }
    };
    auto oneOf = [&](std::string_view value, std::span<const std::string_view> allowed,
                     std::string_view what) {
        const int at = indexOf(value, allowed);
        if (at < 0) {
            fail("unknown " + std::string(what) + " " + singleQuoted(value) + " (expected one of " +
                 listed(allowed, ", ") + ")");
        }
        return static_cast<std::int16_t>(at);
    };
    auto whole = [&](std::string_view text, std::string_view what, std::int64_t lo,
                     std::int64_t hi) {
        return static_cast<std::int16_t>(number(text, what, lo, hi));
    };
    switch (e.verb) {
        case Verb::key:
            expectArgs(1, "key code 0..255");
            e.args[0] = whole(args[0], "key code", 0, 255);
            break;
        case Verb::alt:
            expectArgs(1, "a letter");
            if (args[0].size() != 1 || !std::isalpha(static_cast<unsigned char>(args[0][0]))) {
                fail("'alt' takes a single letter, found " + singleQuoted(args[0]));
            }
            e.args[0] = static_cast<unsigned char>(args[0][0]);
            break;
        case Verb::click:
            expectArgs(1, "start, about or close");
            e.args[0] = oneOf(args[0], kScriptButtons, "button");
            break;
        case Verb::closewin:
            expectArgs(1, "about or main");
            e.args[0] = oneOf(args[0], kScriptWindows, "window");
            break;
        case Verb::set: {
            expectArgs(2, "variable and value");
            oneOf(args[0], kSettableVariables, "variable");
            e.args[0] = static_cast<std::int16_t>(game::findModuleVariable(args[0]) -
                                                  game::kModuleVariables.data());
            e.args[1] = whole(args[1], "value", -32768, 32767);
            break;
        }
        case Verb::place:
            expectArgs(3, "sprite, left and top");
            e.args[0] = oneOf(args[0], kScriptSprites, "sprite");
            e.args[1] = whole(args[1], "left", -32768, 32767);
            e.args[2] = whole(args[2], "top", -32768, 32767);
            break;
        case Verb::food:
        case Verb::big:
            expectArgs(2, "index and 0 or 1");
            e.args[0] =
                whole(args[0], std::string(words[1]) + " index", 0, e.verb == Verb::food ? 75 : 3);
            e.args[1] = whole(args[1], "visibility", 0, 1);
            break;
        case Verb::end:
            expectArgs(0, "nothing");
            if (!script_.end) {
                script_.end = e.t;
            }
            break;
    }
    if (isInjection(e.verb)) {
        keepWritten(e, words);
    }
    return e;
}

void ScriptReader::keepWritten(ScriptEvent& e, const std::vector<std::string_view>& words) {
    // The trace shows an injection's arguments as the script wrote them.
    e.writtenAt = static_cast<std::uint32_t>(script_.writtenArgs.size());
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (i > 2) {
            script_.writtenArgs += ' ';
        }
        script_.writtenArgs.append(words[i]);
    }
    e.writtenLength = static_cast<std::uint16_t>(script_.writtenArgs.size() - e.writtenAt);
}

bool endsItsOwnGame(const Script& script) {
    return script.end.has_value() ||
           std::any_of(script.events.begin(), script.events.end(), [](const ScriptEvent& e) {
               return e.verb == Verb::closewin && kScriptWindows[e.args[0]] == "main";
           });
}

Script parseScript(std::string_view text, const std::string& fileName) {
    ScriptReader reader(fileName);
    reader.feed(text);
    return reader.finish();
}

}  // namespace core
