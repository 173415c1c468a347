#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "platform/control_array.h"
#include "platform/element.h"
#include "platform/form.h"
#include "platform/platform.h"
#include "platform/timer.h"
#include "playfield/layout.h"

namespace playfield {

// Every sprite and picture store, in the order of the sprite table, each
// with the picture it shows at design time: X(name, picture).
#define GULPO_SPRITES(X)                         \
    X(imgGulpo, art(artwork::gulpoStart()))      \
    X(imgGhost1, art(artwork::ghost1()))         \
    X(imgGhost2, art(artwork::ghost2()))         \
    X(imgGhost3, art(artwork::ghost3()))         \
    X(imgFruit, platform::Picture::empty())      \
    X(imgGulpoLeft, art(artwork::gulpoLeft()))   \
    X(imgGulpoRight, art(artwork::gulpoRight())) \
    X(imgGulpoDown, art(artwork::gulpoDown()))   \
    X(imgGulpoUp, art(artwork::gulpoUp()))       \
    X(imgGulpo2, art(artwork::gulpoLarge()))     \
    X(imgGhost1real, art(artwork::ghost1()))     \
    X(imgGhost2real, art(artwork::ghost2()))     \
    X(imgGhost3real, art(artwork::ghost3()))     \
    X(imgBlue, art(artwork::blueGhost()))        \
    X(imgApple, art(artwork::apple()))           \
    X(imgPeach, art(artwork::peach()))           \
    X(imgStrawberry, art(artwork::strawberry())) \
    X(imgCherry, art(artwork::cherry()))         \
    X(imgBlank, platform::Picture::empty())

// The main window and every element in it, placed as at design time: the
// maze, the dots, the actors, the fruit, the picture stores, the labels, the
// buttons and the timers.
class Playfield {
  public:
    Playfield();
    Playfield(const Playfield&) = delete;
    Playfield& operator=(const Playfield&) = delete;

    // Puts the window on the platform and starts its timers' clocks.
    void attach(platform::Platform& platform);

    platform::Form frmGulpo;

    // Shape1 to Shape38 and shpTest, in the order of the wall table.
    std::array<std::unique_ptr<platform::Shape>, 39> walls;
    platform::ControlArray<platform::Shape, kDotCount> shpFood{"shpFood"};
    platform::ControlArray<platform::Shape, 4> shpBig{"shpBig"};

#define GULPO_SPRITE_MEMBER(name, picture) platform::Image name;
    GULPO_SPRITES(GULPO_SPRITE_MEMBER)
#undef GULPO_SPRITE_MEMBER

    platform::Label lblScore;
    platform::Label lblWas;
    platform::Label lblLives;
    platform::Label Label1;
    platform::Label lblLevel;

    platform::CommandButton cmdStart;
    platform::CommandButton cmdAbout;

    platform::Timer tmrMain{"tmrMain", 1, true};
    platform::Timer tmrGhost1{"tmrGhost1", kFrightenedMs, false};
    platform::Timer tmrGhost2{"tmrGhost2", kFrightenedMs, false};
    platform::Timer tmrGhost3{"tmrGhost3", kFrightenedMs, false};

    // A wall by its name ("Shape30", "shpTest"); throws for an unknown name.
    platform::Shape& wall(std::string_view name);
    // Any sprite or store by its name; throws for an unknown name.
    platform::Image& sprite(std::string_view name);

  private:
    void stackLayers();
};

}  // namespace playfield
