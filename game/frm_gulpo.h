#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "game/game_events.h"
#include "game/int16.h"
#include "platform/platform.h"
#include "playfield/playfield.h"

namespace game {

class FrmAbout;

// How far a ghost moves in a tick, on one axis at a time.
inline constexpr int kGhostStep = 25;
// How far the player moves in a tick, on one axis at a time.
inline constexpr int kPlayerStep = 30;
// The lives a game begins with.
inline constexpr int kLivesPerGame = 3;

// One ghost's elements, for the rules that treat the three ghosts alike.
struct Ghost {
    int number;
    platform::Image& sprite;  // imgGhostN
    platform::Image& real;    // imgGhostNreal: the ghost's own picture
    platform::Timer& timer;   // tmrGhostN: enabled exactly while frightened
    Int16& dx;
    Int16& dy;
};

// The main window with its handlers and module variables. The same code runs
// in the desktop window, in the headless replay tool and in the tests: it
// talks only to the toolkit layer.
class FrmGulpo : public playfield::Playfield {
  public:
    explicit FrmGulpo(platform::Platform& platform, GameEvents* events = nullptr);
    ~FrmGulpo();

    // Creates the main window: puts it on the platform, runs Form_Load and
    // shows it.
    void load();

    // Handlers.
    void Form_Load();
    void cmdStart_Click();
    void cmdAbout_Click();
    void cmdClose_Click();
    void Form_KeyDown(Int16 keyCode);
    void tmrMain_Timer();
    void tmrGhost1_Timer();
    void tmrGhost2_Timer();
    void tmrGhost3_Timer();

    // The About window, or none while it has not been created.
    FrmAbout* frmAbout() const { return frmAbout_.get(); }
    // The About window's frame close: the window is destroyed.
    void destroyAbout();

    // Module variables; kModuleVariables (module_variables.h) lists them with
    // their names for whatever reads or sets them by name.
    Int16 PlayerDX;
    Int16 PlayerDY;
    Int16 Ghost1DX;
    Int16 Ghost1DY;
    Int16 Ghost2DX;
    Int16 Ghost2DY;
    Int16 Ghost3DX;
    Int16 Ghost3DY;
    Int16 PlayerStartLeft;
    Int16 PlayerStartTop;
    Int16 Score;
    Int16 Lives;
    Int16 Level;
    Int16 DotsEaten;
    Int16 FruitDotsEaten;
    Int16 CoinFlip;

    platform::Platform& platform() { return platform_; }

    // Ghost 1, 2 or 3.
    Ghost ghost(int number);
    // The ghost's step as at load: up.
    static void headUp(Ghost g);

    // The window's own two methods: a delay that keeps the window
    // responsive, and the game's only source of chance.
    void Wait(std::int32_t milliseconds);
    std::int32_t Rand(std::int32_t low, std::int32_t high);

  private:
    // The phases of the tick, which tmrMain_Timer lists in their order, and
    // what they share, by the file under tick/ that holds them.
    // movement.cpp
    void moveActors();
    void bouncePlayerOffWalls();
    void flipCoin();
    void wrapThroughTunnel();
    bool wallAt(float x, float y) const;
    // ghost_steering.cpp
    void steerGhosts();
    void steerGhost(Ghost g);
    // dots.cpp
    void eatDots();
    void eatBigDots();
    void showScore();
    int hiddenDots() const;
    void refillMaze();
    // frightened.cpp
    void eatBlueGhosts();
    bool touches(const Ghost& g) const;
    bool isBlue(const Ghost& g) const;
    void frightenGhosts();
    void makeNormal(Ghost g);
    void unfrighten(Ghost g);
    // lives.cpp
    void harmByGhost1();
    void harmByGhost2();
    void harmByGhost3();
    void harmBy(Ghost g);
    void loseLife();
    void gameOver(int harmingGhost);
    // level.cpp
    void checkLevelComplete();
    void completeLevel();
    // fruit.cpp
    void putUpOrEatFruit();

    // What an element's event runs: the handler, then the watcher is told
    // that it returned.
    std::function<void()> handlerFor(void (FrmGulpo::*handler)(), Handler which, int detail = 0);
    void tellWatcher(Handler which, int detail = 0);

    platform::Platform& platform_;
    GameEvents* events_;
    std::unique_ptr<FrmAbout> frmAbout_;
};

inline Ghost FrmGulpo::ghost(int number) {
    switch (number) {
        case 1:
            return Ghost{1, imgGhost1, imgGhost1real, tmrGhost1, Ghost1DX, Ghost1DY};
        case 2:
            return Ghost{2, imgGhost2, imgGhost2real, tmrGhost2, Ghost2DX, Ghost2DY};
        default:
            return Ghost{3, imgGhost3, imgGhost3real, tmrGhost3, Ghost3DX, Ghost3DY};
    }
}

// Places a sprite at (x, y): Left first, then Top.
void place(platform::Image& sprite, float x, float y);

}  // namespace game
