#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sessions/xvfb_game.h"

namespace sessions {

// A way over the maze from the start spot: each key, pressed where the one
// before it left the player, takes it to a wall over this many dots. The
// first follows Start.
struct Leg {
    const char* key;
    std::size_t dots;
};
inline constexpr Leg kRoute[] = {{"Right", 2}, {"Up", 1}, {"Right", 3}, {"Down", 2}, {"Left", 3}};

// The game writing its timings (every beep among them) to `beepLog`, in its
// window in `program`, with the X server's bell watched.
class GameOnScreen {
  public:
    // Starts the program (with `environment` added to its own) and waits for
    // the main window. Throws std::runtime_error if the window does not come
    // up.
    GameOnScreen(XvfbGame& program, std::string beepLog,
                 const std::vector<std::string>& environment);
    GameOnScreen(const GameOnScreen&) = delete;
    GameOnScreen& operator=(const GameOnScreen&) = delete;
    ~GameOnScreen();

    XvfbGame& program() { return xvfb_; }
    const std::string& beepLog() const { return beepLog_; }
    // Whether the program still runs, and what it wrote.
    std::string state() { return xvfb_.state(); }

    // Gives the window the input focus and presses `keys` (xdotool names).
    bool press(const std::string& keys);
    // Presses the leg's key and waits until the player has eaten its dots
    // (at most 5 s) and then reached the wall beyond them; whether it did.
    bool walk(const Leg& leg);
    // How often the X bell has rung on the server since the program started;
    // complete once the program has ended.
    int bellsRung();
    // What a window manager's close button does; how the program ended, if
    // it did within `timeout`.
    std::optional<ExitStatus> close(Millis timeout);

  private:
    XvfbGame& xvfb_;
    std::string beepLog_;
    void* bellWatch_ = nullptr;  // Display*, told of every bell
    int xkbEvent_ = 0;
    int bells_ = 0;
};

}  // namespace sessions
