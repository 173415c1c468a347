// gulpo-replay: the real game on the simulated platform, driven by a script
// of timed input events, writing a trace of every handler run.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "app/core/cut_short.h"
#include "app/core/one_file_one_job.h"
#include "app/core/output_file.h"
#include "app/core/replay.h"
#include "app/core/script_file.h"
#include "app/core/standard_streams.h"
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
    const std::string when =
        cut.first->t == reached
            ? ", this line's own time, before delivering it; "
            : ", before this line's time " + std::to_string(cut.first->t) + " ms; ";
    say("warning: " + core::shownScriptName(options.scriptPath) + ":" +
        std::to_string(cut.first->line) + ": the run stopped at " + std::to_string(reached) +
        " ms" + when + std::to_string(cut.events) +
        (cut.events == 1 ? " event was" : " events were") + " not delivered" +
        (options.until ? ""
                       : " (an 'end' line, a 'closewin main' or --until MS runs longer than "
                         "600000 ms)"));
}

}  // namespace

int main(int argc, char** argv) {
    core::openClosedStandardStreams();
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
        return !core::closedAtStart(STDOUT_FILENO) && std::fflush(stdout) == 0 &&
                       std::ferror(stdout) == 0
                   ? 0
                   : kOutputLost;
    }
    try {
        core::refuseOneFileForTwoJobs(
            {{"the script", options.scriptPath, options.scriptPath == "-" ? STDIN_FILENO : -1},
             {"--trace", options.noTrace ? "" : options.tracePath},
             {"the trace", "", options.noTrace || !options.tracePath.empty() ? -1 : STDOUT_FILENO},
             {"--summary-json", options.summaryJsonPath}});
    } catch (const core::UsageError& e) {
        say(e.what());
        return kBadScript;
    }

    core::Script script;
    try {
        script = core::readScriptFile(options.scriptPath);
    } catch (const core::ScriptError& e) {
        say(e.what());
        return kBadScript;
    }

    // Both outputs are checked before the run, so that one that cannot be
    // written costs no run, and emptied only once both can be.
    std::unique_ptr<core::OutputFile> trace;
    if (!options.noTrace) {
        trace = std::make_unique<core::OutputFile>(options.tracePath, "the trace");
    }
    std::unique_ptr<core::OutputFile> summary;
    if (!options.summaryJsonPath.empty()) {
        summary = std::make_unique<core::OutputFile>(options.summaryJsonPath, "the summary");
    }
    for (core::OutputFile* o : {trace.get(), summary.get()}) {
        if (o != nullptr && !o->check().empty()) {
            say(o->error());
            return kOutputLost;
        }
    }
    for (core::OutputFile* o : {trace.get(), summary.get()}) {
        if (o != nullptr && !o->open()) {
            say(o->error());
            return kOutputLost;
        }
        if (o != nullptr) {
            o->onLost = say;
        }
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
    if (trace && !trace->finish()) {
        status = kOutputLost;
    }
    if (summary) {
        summary->write(replay::summaryJson(figures));
        if (!summary->finish()) {
            status = kOutputLost;
        }
    }
    if (!options.quiet) {
        say(replay::summaryLine(figures));
    }
    warnOfCutOff(cut, options, figures.virtualMs);
    return status;
}
