#pragma once

#include <cstdint>
#include <optional>

#include "app/core/script.h"
#include "app/core/session.h"
#include "app/core/trace.h"
#include "game/frm_gulpo.h"
#include "platform/sim/sim_platform.h"

namespace core {

// The virtual time a run stops at when the caller does not say and the
// script does not end its own game: ten minutes.
inline constexpr std::int64_t kDefaultRunMs = 600000;

// The real game on the simulated platform, driven by a script as fast as it
// runs: the main window is loaded at virtual time 0, each script event is
// delivered when the clock reaches its time, and the trace follows every
// handler.
class Replay {
  public:
    explicit Replay(TraceWriter::Sink sink);

    // Runs the script until its end line, `until`, or the program ends;
    // without `until`, a script that ends its own game runs to that end.
    // Returns the virtual time reached. The script must outlive the replay.
    std::int64_t run(const Script& script, std::optional<std::int64_t> until = std::nullopt);

    // Goes on running from where the last run stopped, until `until`.
    std::int64_t resume(std::int64_t until);

    using CutOff = Session::CutOff;
    CutOff cutOff() const { return session_.cutOff(); }

    game::FrmGulpo& game() { return session_.game(); }
    platform::SimPlatform& platform() { return platform_; }
    TraceWriter& trace() { return session_.trace(); }

  private:
    platform::SimPlatform platform_;
    Session session_;
};

}  // namespace core
