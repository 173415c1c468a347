// Fuzzes the replay tool: any text is read as a script; a bad one must be
// refused with a message naming its line, and a good one must run through
// the game without a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/replay/replay.h"
#include "app/replay/script.h"

namespace {

// Runs are cut at two virtual minutes so each input stays quick.
constexpr std::int64_t kRunMs = 120000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    replay::Script script;
    try {
        script = replay::parseScript(text, "fuzz");
    } catch (const replay::ScriptError& e) {
        const std::string message = e.what();
        // "fuzz:<line>: what is wrong"
        if (!message.starts_with("fuzz:") || message.find(": ", 5) == std::string::npos) {
            std::abort();
        }
        return 0;
    }
    std::size_t written = 0;
    replay::Replay run([&written](std::string_view chunk) { written += chunk.size(); });
    run.run(script, kRunMs);
    if (written == 0) {
        std::abort();  // the load line at least is always written
    }
    return 0;
}
