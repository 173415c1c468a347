#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "app/replay/script.h"
#include "app/replay/trace.h"
#include "game/frm_gulpo.h"
#include "platform/sim/sim_platform.h"

namespace replay {

// The virtual time a run stops at when neither the script nor the caller
// says: ten minutes.
inline constexpr std::int64_t kDefaultRunMs = 600000;

// The real game on the simulated platform, driven by a script: the main
// window is loaded at virtual time 0, each script event is delivered when
// the clock reaches its time, and the trace follows every handler.
class Replay {
  public:
    explicit Replay(TraceWriter::Sink sink);

    // Runs the script until its end line, `until`, or the program ends.
    // Returns the virtual time reached. The script must outlive the replay.
    std::int64_t run(const Script& script, std::optional<std::int64_t> until = std::nullopt);

    // Goes on running from where the last run stopped, until `until`.
    std::int64_t resume(std::int64_t until);

    // When the run stopped at its time limit with script events still to
    // come: the first of them (an end line is no event to miss) and how
    // many there are. None when the run stopped at its end line or the
    // program ended.
    struct CutOff {
        const ScriptEvent* first = nullptr;
        std::size_t events = 0;
    };
    CutOff cutOff() const;

    game::FrmGulpo& game() { return *gulpo_; }
    platform::SimPlatform& platform() { return platform_; }
    TraceWriter& trace() { return trace_; }

  private:
    void postFrom(std::size_t index);
    void deliver(const ScriptEvent& e);

    platform::SimPlatform platform_;
    TraceWriter trace_;
    std::unique_ptr<game::FrmGulpo> gulpo_;
    const Script* script_ = nullptr;
    // The first script event not yet delivered.
    std::size_t undelivered_ = 0;
    bool endDelivered_ = false;
};

}  // namespace replay
