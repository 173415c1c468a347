#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "game/frm_gulpo.h"

namespace core {

// Writes the replay trace: one JSON object per line, in the order things
// complete, each with the time, what happened, the handler depth and, for
// most lines, the whole game state after it.
class TraceWriter : public game::GameEvents {
  public:
    // `sink` receives the trace in chunks; with no sink nothing is written.
    using Sink = std::function<void(std::string_view)>;

    explicit TraceWriter(Sink sink) : sink_(std::move(sink)) {}
    ~TraceWriter() override { flush(); }

    void watch(game::FrmGulpo& gulpo, const platform::Platform& platform);

    void handlerReturned(game::Handler handler, int detail) override;
    void waitBegan(int ms) override;
    void waitEnded() override;

    // A state injection; `args` are its arguments as the script wrote them,
    // separated by single spaces.
    void injection(std::string_view verb, std::string_view args);
    void aboutDestroyed();
    void exited();

    void flush();
    // Hands every line to the sink as soon as it is written, for a trace
    // that follows a game as it is played.
    void flushEachLine() { flushAt_ = 0; }
    std::int64_t ticks() const { return ticks_; }

    // The game's state as a trace line shows it, one JSON object.
    std::string stateNow();

    // Called after every handler, injection and window close, whether or
    // not a trace is written (the soak test checks the game's rules there).
    std::function<void()> afterEach;

  private:
    void begin(std::string_view ev);
    void end();
    void state();
    void number(std::int64_t n);
    void boolean(bool b);
    void string(std::string_view s);
    void raw(std::string_view s) { buffer_.append(s); }
    std::string_view pictureName(const platform::Image& sprite, std::uint32_t own) const;

    Sink sink_;
    game::FrmGulpo* gulpo_ = nullptr;
    const platform::Platform* platform_ = nullptr;
    std::string buffer_;
    std::size_t flushAt_ = std::size_t{1} << 16;
    std::int64_t ticks_ = 0;
    std::uint32_t ownGulpo_ = 0;
    std::uint32_t ownGhost_[3] = {0, 0, 0};
    std::uint32_t ownFruit_ = 0;
    std::vector<std::pair<std::uint32_t, std::string>> stores_;
};

}  // namespace core
