#include "tests/support/scenario.h"

#include <stdexcept>

#include "game/module_variables.h"
#include "tests/support/invariants.h"

namespace gulpo_test {

namespace {

bool setsGhostSteps(const core::Script& script) {
    for (const core::ScriptEvent& e : script.events) {
        if (e.verb == core::Verb::set &&
            game::kModuleVariables[static_cast<std::size_t>(e.args[0])].name.starts_with("Ghost")) {
            return true;
        }
    }
    return false;
}

}  // namespace

Scenario::Scenario(std::string_view script, std::optional<std::int64_t> until)
    : trace_(std::make_shared<std::string>()), script_(core::parseScript(script, "scenario")) {
    auto sink = trace_;
    replay_ =
        std::make_unique<core::Replay>([sink](std::string_view chunk) { sink->append(chunk); });
    broken_ = watchInvariants(
        *replay_, setsGhostSteps(script_) ? GhostSteps::setByScript : GhostSteps::checked);
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

std::string Scenario::only(std::string_view ev) const {
    std::vector<std::string> found = lines(ev);
    if (found.size() != 1) {
        throw std::runtime_error("the trace has " + std::to_string(found.size()) + " '" +
                                 std::string(ev) + "' lines, not one");
    }
    return std::move(found[0]);
}

}  // namespace gulpo_test
