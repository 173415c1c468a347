// gulpo-replay: the real game on the simulated platform, driven by a script
// of timed input events, writing a trace of every handler run.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "app/replay/replay.h"

namespace {

constexpr int kBadScript = 2;

void usage() {
    std::cerr << "usage: gulpo-replay [--until MS] [--trace FILE] [--no-trace] [--quiet] SCRIPT\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<std::int64_t> until;
    std::string tracePath;
    bool quiet = false;
    bool noTrace = false;
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--until" && i + 1 < argc) {
            const std::string value = argv[++i];
            try {
                std::size_t used = 0;
                const long long ms = std::stoll(value, &used);
                if (used != value.size() || ms < 0 || ms > replay::kLatestScriptTime) {
                    throw std::invalid_argument(value);
                }
                until = ms;
            } catch (const std::exception&) {
                std::cerr << "gulpo-replay: --until takes a whole number of milliseconds from 0 to "
                          << replay::kLatestScriptTime << ", found '" << value << "'\n";
                return kBadScript;
            }
        } else if (arg == "--trace" && i + 1 < argc) {
            tracePath = argv[++i];
        } else if (arg == "--no-trace") {
            noTrace = true;
        } else if (arg == "--quiet") {
            quiet = true;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            std::cerr << "gulpo-replay: unknown option '" << arg << "'\n";
            usage();
            return kBadScript;
        } else if (scriptPath.empty()) {
            scriptPath = arg;
        } else {
            usage();
            return kBadScript;
        }
    }
    if (scriptPath.empty()) {
        usage();
        return kBadScript;
    }

    std::stringstream text;
    const std::string shownName = scriptPath == "-" ? "<stdin>" : scriptPath;
    if (scriptPath == "-") {
        text << std::cin.rdbuf();
    } else {
        std::ifstream in(scriptPath, std::ios::binary);
        if (!in) {
            std::cerr << "gulpo-replay: " << scriptPath << ": cannot open: " << std::strerror(errno)
                      << "\n";
            return kBadScript;
        }
        text << in.rdbuf();
    }

    replay::Script script;
    try {
        script = replay::parseScript(text.str(), shownName);
    } catch (const replay::ScriptError& e) {
        std::cerr << "gulpo-replay: " << e.what() << "\n";
        return kBadScript;
    }

    std::FILE* out = stdout;
    if (!tracePath.empty() && !noTrace) {
        out = std::fopen(tracePath.c_str(), "wb");
        if (out == nullptr) {
            std::cerr << "gulpo-replay: " << tracePath << ": cannot write: " << std::strerror(errno)
                      << "\n";
            return 1;
        }
    }
    replay::TraceWriter::Sink sink;
    if (!noTrace) {
        sink = [out](std::string_view chunk) { std::fwrite(chunk.data(), 1, chunk.size(), out); };
    }

    std::int64_t reached = 0;
    std::int64_t ticks = 0;
    double wall = 0;
    {
        // The wall clock times the run itself, from the window's load on.
        const auto wallStart = std::chrono::steady_clock::now();
        replay::Replay run(sink);
        reached = run.run(script, until);
        ticks = run.trace().ticks();
        wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    }
    if (out != stdout) {
        std::fclose(out);
    } else {
        std::fflush(out);
    }
    if (!quiet) {
        std::fprintf(stderr,
                     "gulpo-replay: virtual time %lld ms, %lld ticks, wall time %.3f s, %.0f ticks "
                     "per wall second\n",
                     static_cast<long long>(reached), static_cast<long long>(ticks), wall,
                     wall > 0 ? static_cast<double>(ticks) / wall : 0.0);
    }
    return 0;
}
