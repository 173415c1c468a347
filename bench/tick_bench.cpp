// What one tick costs: a ten-minute session of random play through the
// game on the simulated platform, with no trace and with the trace written
// to /dev/null; and what recording one input costs the game's thread.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/core/replay.h"
#include "app/core/session.h"
#include "app/desktop/recording.h"
#include "bench/session_script.h"

namespace {

void runSession(benchmark::State& state, bool trace) {
    const core::Script script = core::parseScript(bench::randomSession(1), "session");
    std::FILE* devNull = std::fopen("/dev/null", "wb");
    long long ticks = 0;
    for (auto _ : state) {
        core::TraceWriter::Sink sink;
        if (trace) {
            sink = [devNull](std::string_view chunk) {
                std::fwrite(chunk.data(), 1, chunk.size(), devNull);
            };
        }
        core::Replay run(sink);
        run.run(script);
        ticks += run.trace().ticks();
    }
    std::fclose(devNull);
    state.counters["ticks_per_s"] =
        benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}

void TenMinutesNoTrace(benchmark::State& state) {
    runSession(state, false);
}
void TenMinutesTraceToDevNull(benchmark::State& state) {
    runSession(state, true);
}

// An arrow key's line, written to a file on disk the moment it is taken.
void RecordAnInput(benchmark::State& state) {
    const std::string path = "/tmp/gulpo-record-bench-" + std::to_string(::getpid()) + ".txt";
    {
        desktop::Recording recording(path);
        core::ScriptEvent key;
        key.verb = core::Verb::key;
        key.args[0] = 37;
        for (auto _ : state) {
            key.t += 100;
            recording.take(core::scriptLineOf(key));
        }
    }
    std::remove(path.c_str());
}

BENCHMARK(RecordAnInput)->Unit(benchmark::kMicrosecond);
BENCHMARK(TenMinutesNoTrace)->Unit(benchmark::kMillisecond);
BENCHMARK(TenMinutesTraceToDevNull)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
