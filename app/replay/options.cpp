#include "app/replay/options.h"

#include <charconv>

#include "app/core/script.h"
#include "app/core/shown_text.h"

namespace replay {

namespace {

using core::kLatestScriptTime;
using core::singleQuoted;
using core::UsageError;

std::int64_t untilValue(std::string_view value) {
    std::int64_t ms = 0;
    const char* last = value.data() + value.size();
    const auto [ptr, ec] = std::from_chars(value.data(), last, ms);
    if (value.empty() || ec != std::errc() || ptr != last || ms < 0 || ms > kLatestScriptTime) {
        throw UsageError("--until takes a whole number of milliseconds from 0 to " +
                         std::to_string(kLatestScriptTime) + ", found " + singleQuoted(value));
    }
    return ms;
}

}  // namespace

std::string_view helpText() {
    return "usage: gulpo-replay [--until MS] [--trace FILE | --no-trace] [--summary-json FILE]\n"
           "                    [--quiet] SCRIPT\n"
           "\n"
           "Runs the game on a virtual clock from SCRIPT (a file, or - for standard input)\n"
           "and writes a JSON Lines trace of every handler with the game state after it.\n"
           "\n"
           "  --until MS            stop when the virtual clock reaches MS (default: the\n"
           "                        script's end line or closewin main, else 600000)\n"
           "  --trace FILE          write the trace to FILE (default: standard output)\n"
           "  --no-trace            write no trace\n"
           "  --summary-json FILE   write the run's figures to FILE as one JSON object:\n"
           "                        virtual_ms, ticks, wall_seconds, ticks_per_wall_second,\n"
           "                        undelivered_events\n"
           "  --quiet               no summary on standard error\n"
           "  --help                this text\n"
           "\n"
           "Exit status: 0 done; 1 the trace or the summary could not be written (said\n"
           "at once; an incomplete file is removed); 2 a bad script or command line, or\n"
           "one file named twice (nothing is run); 128 + N when signal N cut the run short.\n";
}

Options readOptions(int argc, const char* const* argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&]() -> std::string_view {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                throw UsageError(std::string(arg) + " needs a value");
            }
            return argv[++i];
        };
        if (arg == "--until") {
            options.until = untilValue(value());
        } else if (arg == "--trace") {
            options.tracePath = value();
        } else if (arg == "--summary-json") {
            options.summaryJsonPath = value();
        } else if (arg == "--no-trace") {
            options.noTrace = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--help") {
            options.help = true;
        } else if (arg.size() > 1 && arg.front() == '-') {
            throw UsageError("unknown option " + singleQuoted(arg));
        } else if (options.scriptPath.empty()) {
            options.scriptPath = arg;
        } else {
            throw UsageError("one script at a time, found " + singleQuoted(options.scriptPath) +
                             " and " + singleQuoted(arg));
        }
    }
    if (options.scriptPath.empty() && !options.help) {
        throw UsageError("no script named");
    }
    return options;
}

}  // namespace replay
