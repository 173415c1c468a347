#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/replay/replay.h"

namespace gulpo_test {

// The game on the simulated platform, driven by a short replay script, with
// its trace kept in memory for assertions.
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

  private:
    std::shared_ptr<std::string> trace_;
    replay::Script script_;
    std::unique_ptr<replay::Replay> replay_;
};

// The JSON text of a key's value in a trace line: a number as written, a
// string without its quotes, an array with its brackets. Empty when the key
// is missing.
std::string field(std::string_view line, std::string_view key);
// A whole-number field.
long long number(std::string_view line, std::string_view key);

}  // namespace gulpo_test

namespace gulpo_test {

// Script lines at time t: Start at 0 and, from t on, the three ghosts held
// still in the pen (both steps 0) so that a test can set a scene up without
// them wandering into it.
std::string startedWithGhostsParked(long long t);
// Script lines at time t hiding shpFood(first) to shpFood(last).
std::string hideDots(long long t, int first, int last);

// Every trace line with a state, checked against the rules that hold
// between handlers; returns the first broken one with the reason, or "".
// With the ghosts parked by a test their steps are not checked.
enum class GhostSteps { moving, parked };
std::string firstBrokenInvariant(const std::vector<std::string>& lines,
                                 GhostSteps steps = GhostSteps::moving);

}  // namespace gulpo_test
