// gulpo-replay: the real game on the simulated platform, driven by a script
// of timed input events, writing a trace of every handler run.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "app/core/cut_short.h"
#include "app/core/output_file.h"
#include "app/core/replay.h"
#include "app/core/script_file.h"
#include "app/replay/options.h"
#include "app/replay/summary.h"

namespace {

constexpr int kOutputLost = 1;
constexpr int kBadScript = 2;

void say(const std::string& message) {
    std::fprintf(stderr, "gulpo-replay: %s\n", message.c_str());
}

// The usage lines of the help text, for a command line that went wrong.
void usage() {
    const std::string_view help = replay::helpText();
    std::fprintf(stderr, "%.*s(gulpo-replay --help tells more)\n",
                 static_cast<int>(help.find("\n\n") + 1), help.data());
}

// Says when the run stopped at its time limit before some of the script's
// events: they were never delivered.
void warnOfCutOff(const core::Replay::CutOff& cut, const replay::Options& options,
                  std::int64_t reached) {
    if (cut.first == nullptr) {
        return;
    }
    say("warning: " + core::shownScriptName(options.scriptPath) + ":" +
        std::to_string(cut.first->line) + ": the run stopped at " + std::to_string(reached) +
        " ms, before this line's time " + std::to_string(cut.first->t) + " ms; " +
        std::to_string(cut.events) + (cut.events == 1 ? " event was" : " events were") +
        " not delivered" +
        (options.until ? "" : " (an 'end' line or --until MS runs longer than 600000 ms)"));
}

}  // namespace

int main(int argc, char** argv) {
    core::endCutShortOnSignals("gulpo-replay");
    replay::Options options;
    try {
        options = replay::readOptions(argc, argv);
    } catch (const core::UsageError& e) {
        say(e.what());
        usage();
        return kBadScript;
    }
    if (options.help) {
        const std::string_view help = replay::helpText();
        std::fwrite(help.data(), 1, help.size(), stdout);
        return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? 0 : kOutputLost;
    }

    core::Script script;
    try {
        script = core::readScriptFile(options.scriptPath);
    } catch (const core::ScriptError& e) {
        say(e.what());
        return kBadScript;
    }

    // Both outputs are opened before the run, so that one that cannot be
    // written costs no run.
    std::unique_ptr<core::OutputFile> trace;
    if (!options.noTrace) {
        trace = std::make_unique<core::OutputFile>(options.tracePath, "the trace");
        if (!trace->good()) {
            say(trace->finish());
            return kOutputLost;
        }
    }
    std::unique_ptr<core::OutputFile> summary;
    if (!options.summaryJsonPath.empty()) {
        summary = std::make_unique<core::OutputFile>(options.summaryJsonPath, "the summary");
        if (!summary->good()) {
            say(summary->finish());
            return kOutputLost;
        }
    }
    // Cut short by a signal, neither output may be left looking complete.
    if (trace) {
        core::removeIfCutShort(options.tracePath, "the trace");
    }
    if (summary) {
        core::removeIfCutShort(options.summaryJsonPath, "the summary");
    }
    core::TraceWriter::Sink sink;
    if (trace) {
        sink = [&trace](std::string_view chunk) { trace->write(chunk); };
    }

    replay::RunFigures figures;
    core::Replay::CutOff cut;
    {
        // The wall clock times the run itself, from the window's load on.
        const auto wallStart = std::chrono::steady_clock::now();
        core::Replay run(sink);
        figures.virtualMs = run.run(script, options.until);
        figures.ticks = run.trace().ticks();
        figures.wallSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        cut = run.cutOff();
        figures.undeliveredEvents = cut.events;
    }

    int status = 0;
    if (trace) {
        if (const std::string lost = trace->finish(); !lost.empty()) {
            say(lost);
            status = kOutputLost;
        }
        core::completed(options.tracePath);
    }
    if (summary) {
        summary->write(replay::summaryJson(figures));
        if (const std::string lost = summary->finish(); !lost.empty()) {
            say(lost);
            status = kOutputLost;
        }
        core::completed(options.summaryJsonPath);
    }
    if (!options.quiet) {
        say(replay::summaryLine(figures));
    }
    warnOfCutOff(cut, options, figures.virtualMs);
    return status;
}
