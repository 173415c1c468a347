#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "platform/control_array.h"
#include "platform/element.h"
#include "platform/form.h"
#include "platform/platform.h"
#include "platform/timer.h"

namespace playfield {

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
    platform::ControlArray<platform::Shape, 76> shpFood{"shpFood"};
    platform::ControlArray<platform::Shape, 4> shpBig{"shpBig"};

    platform::Image imgGulpo;
    platform::Image imgGhost1;
    platform::Image imgGhost2;
    platform::Image imgGhost3;
    platform::Image imgFruit;

    platform::Image imgGulpoLeft;
    platform::Image imgGulpoRight;
    platform::Image imgGulpoDown;
    platform::Image imgGulpoUp;
    platform::Image imgGulpo2;
    platform::Image imgGhost1real;
    platform::Image imgGhost2real;
    platform::Image imgGhost3real;
    platform::Image imgBlue;
    platform::Image imgApple;
    platform::Image imgPeach;
    platform::Image imgStrawberry;
    platform::Image imgCherry;
    platform::Image imgBlank;

    platform::Label lblScore;
    platform::Label lblWas;
    platform::Label lblLives;
    platform::Label Label1;
    platform::Label lblLevel;

    platform::CommandButton cmdStart;
    platform::CommandButton cmdAbout;

    platform::Timer tmrMain{"tmrMain", 1, true};
    platform::Timer tmrGhost1{"tmrGhost1", 10000, false};
    platform::Timer tmrGhost2{"tmrGhost2", 10000, false};
    platform::Timer tmrGhost3{"tmrGhost3", 10000, false};

    // A wall by its name ("Shape30", "shpTest"); throws for an unknown name.
    platform::Shape& wall(std::string_view name);
    // Any sprite or store by its name; throws for an unknown name.
    platform::Image& sprite(std::string_view name);

  private:
    void stackLayers();
};

}  // namespace playfield
