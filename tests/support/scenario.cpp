#include "tests/support/scenario.h"

#include <stdexcept>

namespace gulpo_test {

Scenario::Scenario(std::string_view script, std::optional<std::int64_t> until)
    : trace_(std::make_shared<std::string>()), script_(replay::parseScript(script, "scenario")) {
    auto sink = trace_;
    replay_ =
        std::make_unique<replay::Replay>([sink](std::string_view chunk) { sink->append(chunk); });
    replay_->run(script_, until);
}

void Scenario::runTo(std::int64_t ms) {
    replay_->resume(ms);
}

std::vector<std::string> Scenario::lines(std::string_view ev) const {
    std::vector<std::string> out;
    std::size_t pos = 0;
    const std::string wanted = "\"ev\":\"" + std::string(ev) + "\"";
    while (pos < trace_->size()) {
        std::size_t eol = trace_->find('\n', pos);
        if (eol == std::string::npos) {
            eol = trace_->size();
        }
        std::string line = trace_->substr(pos, eol - pos);
        if (ev.empty() || line.find(wanted) != std::string::npos) {
            out.push_back(std::move(line));
        }
        pos = eol + 1;
    }
    return out;
}

std::string field(std::string_view line, std::string_view key) {
    const std::string needle = "\"" + std::string(key) + "\":";
    const std::size_t at = line.find(needle);
    if (at == std::string_view::npos) {
        return {};
    }
    std::size_t i = at + needle.size();
    if (i >= line.size()) {
        return {};
    }
    if (line[i] == '"') {
        const std::size_t close = line.find('"', i + 1);
        return std::string(line.substr(i + 1, close - i - 1));
    }
    if (line[i] == '[') {
        const std::size_t close = line.find(']', i);
        return std::string(line.substr(i, close - i + 1));
    }
    std::size_t j = i;
    while (j < line.size() && line[j] != ',' && line[j] != '}') {
        ++j;
    }
    return std::string(line.substr(i, j - i));
}

long long number(std::string_view line, std::string_view key) {
    const std::string text = field(line, key);
    if (text.empty()) {
        throw std::invalid_argument("trace line has no number '" + std::string(key) +
                                    "': " + std::string(line));
    }
    return std::stoll(text);
}

}  // namespace gulpo_test

namespace gulpo_test {

std::string startedWithGhostsParked(long long t) {
    std::string s = "0 click start\n";
    for (const char* v : {"Ghost1DX", "Ghost1DY", "Ghost2DX", "Ghost2DY", "Ghost3DX", "Ghost3DY"}) {
        s += std::to_string(t) + " set " + v + " 0\n";
    }
    return s;
}

std::string hideDots(long long t, int first, int last) {
    std::string s;
    for (int i = first; i <= last; ++i) {
        s += std::to_string(t) + " food " + std::to_string(i) + " 0\n";
    }
    return s;
}

std::string firstBrokenInvariant(const std::vector<std::string>& lines, GhostSteps steps) {
    for (const std::string& line : lines) {
        if (line.find("\"state\":") == std::string::npos) {
            continue;
        }
        const std::string timers = field(line, "tmrGhost");
        for (int n = 1; n <= 3; ++n) {
            const std::string sprite = field(line, "ghost" + std::to_string(n));
            const bool blue = sprite.find("\"imgBlue\"") != std::string::npos;
            const std::string flags = timers.substr(1, timers.size() - 2);
            std::size_t from = 0;
            for (int k = 1; k < n; ++k) {
                from = flags.find(',', from) + 1;
            }
            const bool enabled = flags.compare(from, 4, "true") == 0;
            if (blue != enabled) {
                return "ghost " + std::to_string(n) + " blue and timer disagree: " + line;
            }
            const long long dx = number(line, "Ghost" + std::to_string(n) + "DX");
            const long long dy = number(line, "Ghost" + std::to_string(n) + "DY");
            if (steps == GhostSteps::parked) {
                continue;
            }
            if (!((dx == 0) != (dy == 0)) || (dx != 0 && dx != 25 && dx != -25) ||
                (dy != 0 && dy != 25 && dy != -25)) {
                return "ghost " + std::to_string(n) + " step: " + line;
            }
        }
        const long long pdx = number(line, "PlayerDX");
        const long long pdy = number(line, "PlayerDY");
        if ((pdx != 0 && pdx != 30 && pdx != -30) || (pdy != 0 && pdy != 30 && pdy != -30) ||
            (pdx != 0 && pdy != 0)) {
            return "player step: " + line;
        }
        const long long score = number(line, "Score");
        if (score < 0 || score > 32767) {
            return "score: " + line;
        }
        const long long lives = number(line, "Lives");
        const long long level = number(line, "Level");
        if (lives < 1 || lives > 3 || level < 1) {
            return "lives or level: " + line;
        }
        const long long dots = number(line, "DotsEaten");
        if ((dots != 0 && dots != 76) || number(line, "FruitDotsEaten") != 0) {
            return "dot counters: " + line;
        }
        const std::string levelLabel = field(line, "lblLevel");
        if (levelLabel != "" && levelLabel != std::to_string(level)) {
            return "level label: " + line;
        }
        // After a game over the lives label shows 0 until the next Start.
        const std::string livesLabel = field(line, "lblLives");
        if (livesLabel != std::to_string(lives) &&
            !(livesLabel == "0" && lives == 3 && field(line, "cmdStart") == "true")) {
            return "lives label: " + line;
        }
    }
    return "";
}

}  // namespace gulpo_test
