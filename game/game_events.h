#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace game {

// The handlers of the main window, as a watcher of the game sees them.
enum class Handler { load, start, about, close, key, tick, ghost };

// How the trace and the timings name each, in the enumeration's order.
inline constexpr std::array<std::string_view, 7> kHandlerNames = {"load", "start", "about", "close",
                                                                  "key",  "tick",  "ghost"};
static_assert(kHandlerNames.size() == static_cast<std::size_t>(Handler::ghost) + 1,
              "every handler has one name");

inline constexpr std::string_view handlerName(Handler handler) {
    return kHandlerNames[static_cast<std::size_t>(handler)];
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
