// Fuzzes the replay tool: any text is read as a script; a bad one must be
// refused with a message naming its line, whether it is read whole or a
// piece at a time as from a pipe, and a good one must run through the game
// without a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/core/replay.h"
#include "app/core/script.h"

namespace {

// Runs are cut at two virtual minutes so each input stays quick.
constexpr std::int64_t kRunMs = 120000;

// The script read in pieces of a few bytes, or its message when refused.
std::string outcomeReadInPieces(std::string_view text, std::size_t piece) {
    core::ScriptReader reader("fuzz");
    try {
        for (std::size_t at = 0; at < text.size(); at += piece) {
            reader.feed(text.substr(at, piece));
        }
        return std::to_string(reader.finish().events.size()) + " events";
    } catch (const core::ScriptError& e) {
        return e.what();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string inPieces = outcomeReadInPieces(text, 1 + size % 5);
    core::Script script;
    try {
        script = core::parseScript(text, "fuzz");
    } catch (const core::ScriptError& e) {
        const std::string message = e.what();
        // "fuzz:<line>: what is wrong", the same however the text came in
        if (!message.starts_with("fuzz:") || message.find(": ", 5) == std::string::npos ||
            message != inPieces) {
            std::abort();
        }
        return 0;
    }
    if (inPieces != std::to_string(script.events.size()) + " events") {
        std::abort();
    }
    std::size_t written = 0;
    core::Replay run([&written](std::string_view chunk) { written += chunk.size(); });
    run.run(script, kRunMs);
    if (written == 0) {
        std::abort();  // the load line at least is always written
    }
    return 0;
}
