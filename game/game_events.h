#pragma once

#include <string_view>

namespace game {

// The handlers of the main window, as a watcher of the game sees them.
enum class Handler { load, start, about, close, key, tick, ghost };

// How the trace and the timings name each.
inline constexpr std::string_view handlerName(Handler handler) {
    constexpr std::string_view names[] = {"load", "start", "about", "close",
                                          "key",  "tick",  "ghost"};
    return names[static_cast<int>(handler)];
}

// Told when each handler of the game returns and when a wait begins and
// ends; the headless replay tool writes its trace from it. The desktop
// program has no watcher.
class GameEvents {
  public:
    virtual ~GameEvents() = default;
    // `detail` is the key code for `key` and the ghost's number for `ghost`.
    virtual void handlerReturned(Handler handler, int detail) = 0;
    virtual void waitBegan(int ms) = 0;
    virtual void waitEnded() = 0;
};

}  // namespace game
