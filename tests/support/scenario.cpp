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
