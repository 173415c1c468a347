#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/replay.h"

namespace gulpo_test {

// The game on the simulated platform, driven by a short replay script, with
// its trace kept in memory for assertions and the game's rules checked
// after every handler.
class Scenario {
  public:
    explicit Scenario(std::string_view script, std::optional<std::int64_t> until = std::nullopt);

    // Goes on running until the virtual clock reaches `ms`.
    void runTo(std::int64_t ms);

    game::FrmGulpo& game() { return replay_->game(); }
    platform::SimPlatform& platform() { return replay_->platform(); }
    const std::string& trace() const { return *trace_; }

    // The trace lines, all of them or those of one kind ("tick", "key").
    std::vector<std::string> lines(std::string_view ev = {}) const;
    // The one trace line of that kind; throws unless there is exactly one.
    std::string only(std::string_view ev) const;

    // The first of the game's rules (invariants.h) found broken after a
    // handler, with its time; "" while all hold. A script that sets the
    // ghosts' steps itself is not held to their step rule.
    const std::string& firstBrokenInvariant() const { return *broken_; }

  private:
    std::shared_ptr<std::string> trace_;
    core::Script script_;
    std::unique_ptr<core::Replay> replay_;
    std::shared_ptr<const std::string> broken_;
};

}  // namespace gulpo_test
