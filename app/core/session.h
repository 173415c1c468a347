#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/core/script.h"
#include "app/core/trace.h"
#include "game/frm_gulpo.h"
#include "platform/platform.h"

namespace core {

// The real game on a platform, with its trace, taking every input as a
// script event: from a script, each delivered when the clock reaches its
// time, or from the player's windows as the script event each input amounts
// to. Whatever the backend, the same events at the same times make the same
// game, so a session recorded in the window replays exactly.
class Session {
  public:
    Session(platform::Platform& platform, TraceWriter::Sink sink);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Creates the main window: puts it on the platform and runs Form_Load,
    // at the clock's time 0.
    void load();

    // Plays the script. The script must outlive the session.
    void play(const Script& script);

    // Takes the player's input from the windows. `taken` hears of each
    // event, with its time, before it is queued (to record it).
    void takePlayerInput(std::function<void(const ScriptEvent&)> taken);

    // Runs the platform's main loop until `until`, the end of the program
    // (which the trace tells) or a stop; returns the time reached.
    std::int64_t run(std::int64_t until = platform::kNever);

    // Also tells `watcher` of every handler and wait, after the trace.
    void alsoTell(game::GameEvents& watcher) { watchers_.others.push_back(&watcher); }

    // Applies one script event to the game now; an injection's arguments
    // as written go to the trace.
    void deliver(const ScriptEvent& e, std::string_view written = {});

    // When the run stopped with script events still to come: the first of
    // them (an end line is no event to miss) and how many there are. None
    // when the run stopped at its end line or the program ended.
    struct CutOff {
        const ScriptEvent* first = nullptr;
        std::size_t events = 0;
    };
    CutOff cutOff() const;

    game::FrmGulpo& game() { return *gulpo_; }
    TraceWriter& trace() { return trace_; }

  private:
    void postFrom(std::size_t index);

    // Tells the trace, then every other watcher.
    struct Watchers : game::GameEvents {
        GameEvents* trace = nullptr;
        std::vector<GameEvents*> others;
        void handlerReturned(game::Handler handler, int detail) override {
            trace->handlerReturned(handler, detail);
            for (GameEvents* w : others) {
                w->handlerReturned(handler, detail);
            }
        }
        void waitBegan(int ms) override {
            trace->waitBegan(ms);
            for (GameEvents* w : others) {
                w->waitBegan(ms);
            }
        }
        void waitEnded() override {
            trace->waitEnded();
            for (GameEvents* w : others) {
                w->waitEnded();
            }
        }
    };

    platform::Platform& platform_;
    TraceWriter trace_;
    Watchers watchers_;
    std::unique_ptr<game::FrmGulpo> gulpo_;
    const Script* script_ = nullptr;
    // The first script event not yet delivered.
    std::size_t undelivered_ = 0;
    bool endDelivered_ = false;
};

// The script event a player's input in a window amounts to, if any: keys in
// the main window, Enter or Space on the About window's Close, an access
// key in either window (the game's access keys work from both), a click on
// a button, and a window's frame close.
std::optional<ScriptEvent> scriptEventOf(const platform::Input& input);

// A player's script event as a script line, with its time and no line end
// ("2100 key 37"). Injections are not a player's; they are not written.
std::string scriptLineOf(const ScriptEvent& e);

}  // namespace core
