#include "app/core/replay.h"

namespace core {

Replay::Replay(TraceWriter::Sink sink) : session_(platform_, std::move(sink)) {
    session_.load();
}

std::int64_t Replay::run(const Script& script, std::optional<std::int64_t> until) {
    session_.play(script);
    // An end line stops the run when it is delivered, after the events
    // listed before it at the same time; closing the main window ends the
    // program.
    return resume(until ? *until : (endsItsOwnGame(script) ? platform::kNever : kDefaultRunMs));
}

std::int64_t Replay::resume(std::int64_t until) {
    return session_.run(until);
}

}  // namespace core
