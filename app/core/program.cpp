#include "app/core/program.h"

namespace core {

Program::Program(platform::Platform& platform, TraceWriter::Sink trace)
    : platform_(platform), session_(platform, std::move(trace)) {
    session_.trace().flushEachLine();
}

void Program::play(std::function<void(std::string_view line)> record) {
    session_.takePlayerInput([record = std::move(record)](const ScriptEvent& e) {
        if (record) {
            record(scriptLineOf(e) + "\n");
        }
    });
}

void Program::watch(Script script) {
    if (!script.end) {
        ScriptEvent end;
        end.verb = Verb::end;
        end.t = script.events.empty() ? 0 : script.events.back().t;
        script.events.push_back(end);
        script.end = end.t;
    }
    watched_ = std::move(script);
    session_.play(*watched_);
    closeOnly();
}

void Program::closeOnly() {
    platform_.onInput = [this](const platform::Input& input, std::int64_t /*at*/) {
        if (input.kind == platform::Input::Kind::frameClose && input.form == "frmGulpo") {
            platform_.endProgram();
        }
    };
}

bool Program::run() {
    session_.run();
    return platform_.ending();
}

std::string recordingHeader(std::time_t now) {
    char started[64];
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    std::strftime(started, sizeof started, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return "# recorded by gulpo " GULPO_VERSION " on " + std::string(started) +
           "; play it again with gulpo --watch or gulpo-replay\n";
}

}  // namespace core
