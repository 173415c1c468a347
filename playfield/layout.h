#pragma once

#include <array>
#include <string_view>

#include "platform/colour.h"

// The main window's scene as tables: one row per element, in twips.
namespace playfield {

// Every wall is filled with this colour, and nothing else in the maze is: the
// actors find walls by looking for it.
inline constexpr platform::Colour WallColour = 0xFF0000;
inline constexpr platform::Colour DotColour = 0x0000FFFF;
inline constexpr platform::Colour BigDotColour = 0x0080FFFF;
inline constexpr platform::Colour LabelColour = 0x0000FFFF;

inline constexpr int kClientWidth = 7005;
inline constexpr int kClientHeight = 7800;

struct BoxRow {
    std::string_view name;
    int left;
    int top;
    int width;
    int height;
};

// Walls in the order they are stacked.
inline constexpr std::array<BoxRow, 39> kWalls = {{
    {"Shape1", 360, 120, 5655, 135},    {"Shape2", 360, 240, 135, 2415},
    {"Shape3", 360, 3240, 135, 2895},   {"Shape4", 360, 2640, 855, 135},
    {"Shape5", 480, 3240, 735, 135},    {"Shape6", 360, 6120, 5775, 135},
    {"Shape7", 6000, 120, 135, 2655},   {"Shape8", 5280, 2640, 735, 135},
    {"Shape9", 6000, 3240, 135, 2895},  {"Shape10", 5280, 3240, 735, 255},
    {"Shape11", 2640, 2640, 135, 135},  {"Shape12", 3720, 2640, 135, 135},
    {"Shape13", 2520, 2640, 135, 735},  {"Shape14", 2520, 3360, 1335, 135},
    {"Shape15", 3840, 2640, 135, 855},  {"Shape16", 1800, 1920, 255, 735},
    {"Shape17", 1800, 3240, 255, 1695}, {"Shape18", 1800, 1920, 975, 255},
    {"Shape19", 1800, 3960, 855, 255},  {"Shape20", 2520, 4680, 1575, 255},
    {"Shape21", 3120, 3960, 255, 735},  {"Shape22", 3840, 3960, 855, 255},
    {"Shape23", 4560, 3960, 255, 975},  {"Shape24", 960, 5400, 1095, 255},
    {"Shape25", 5280, 3960, 255, 1695}, {"Shape26", 960, 3840, 375, 615},
    {"Shape27", 960, 4320, 375, 615},   {"Shape28", 2520, 5400, 375, 735},
    {"Shape29", 3360, 5400, 1455, 255}, {"Shape30", 2520, 1320, 1455, 135},
    {"Shape31", 3600, 1920, 975, 255},  {"Shape32", 960, 720, 375, 1455},
    {"Shape33", 4560, 1320, 255, 2175}, {"Shape34", 4440, 720, 975, 135},
    {"Shape35", 1800, 840, 255, 615},   {"Shape36", 1800, 720, 1455, 135},
    {"Shape37", 3720, 240, 255, 615},   {"Shape38", 4440, 1320, 255, 2175},
    {"shpTest", 5280, 720, 255, 1455},
}};

struct SpotRow {
    int left;
    int top;
};

// shpFood(0) to shpFood(75), circles 135 by 135: eating them all
// completes a level.
inline constexpr int kDotCount = 76;
inline constexpr int kDotSize = 135;
inline constexpr std::array<SpotRow, kDotCount> kFood = {{
    {2760, 3600}, {2160, 3600}, {3600, 3600}, {4200, 3600}, {4200, 3000}, {4920, 2880},
    {4200, 2400}, {2640, 5160}, {2160, 3000}, {2160, 2400}, {1920, 1680}, {4200, 1080},
    {4200, 1680}, {4920, 1680}, {4920, 1080}, {4920, 3960}, {4920, 4440}, {4320, 480},
    {3360, 960},  {2160, 480},  {1440, 480},  {1440, 1920}, {1440, 2400}, {4200, 4440},
    {3720, 5160}, {4920, 3480}, {5640, 5280}, {5760, 1680}, {5640, 4080}, {3840, 5880},
    {2760, 4440}, {2040, 5160}, {1440, 5880}, {720, 4680},  {1560, 3480}, {3120, 5880},
    {1440, 5160}, {1440, 960},  {720, 1080},  {720, 1680},  {720, 2280},  {1440, 1440},
    {3360, 480},  {2160, 960},  {5760, 1080}, {5760, 2280}, {3600, 2400}, {4920, 480},
    {1440, 3000}, {1560, 3960}, {2160, 4440}, {720, 3600},  {720, 4200},  {720, 5280},
    {2160, 5880}, {4440, 5880}, {5640, 4680}, {5640, 3600}, {4920, 4920}, {4320, 5160},
    {3120, 5160}, {3600, 1680}, {4920, 2280}, {4920, 5880}, {3120, 1680}, {2760, 960},
    {2880, 480},  {3600, 4440}, {1560, 4560}, {5040, 5400}, {2760, 4080}, {3600, 3960},
    {5400, 2280}, {3120, 2040}, {2520, 1680}, {2760, 2400},
}};

// shpBig(0) to shpBig(3), circles 255 by 255.
inline constexpr int kBigDotSize = 255;
inline constexpr std::array<SpotRow, 4> kBig = {{
    {600, 360},
    {5520, 360},
    {720, 5760},
    {5520, 5760},
}};

// The actors, the bonus fruit and the picture stores. Stores at Left 7080 or
// more lie outside the client area; the fruit column at 6480 is in view.
inline constexpr std::array<BoxRow, 19> kSprites = {{
    {"imgGulpo", 840, 2880, 375, 375},       {"imgGhost1", 3120, 2880, 375, 390},
    {"imgGhost2", 3000, 2880, 375, 390},     {"imgGhost3", 3000, 2760, 375, 375},
    {"imgFruit", 3120, 3600, 255, 255},      {"imgGulpoLeft", 7080, 480, 375, 375},
    {"imgGulpoRight", 7080, 1200, 375, 375}, {"imgGulpoDown", 7080, 1800, 375, 375},
    {"imgGulpoUp", 7080, 2400, 375, 375},    {"imgGulpo2", 7200, 5040, 450, 450},
    {"imgGhost1real", 7080, 3720, 360, 390}, {"imgGhost2real", 7080, 3120, 450, 390},
    {"imgGhost3real", 7200, 5640, 465, 465}, {"imgBlue", 7200, 4320, 375, 390},
    {"imgApple", 6480, 2280, 450, 435},      {"imgPeach", 6480, 2880, 465, 555},
    {"imgStrawberry", 6480, 3720, 405, 465}, {"imgCherry", 6480, 4560, 315, 285},
    {"imgBlank", 6480, 5760, 255, 255},
}};

// A sprite's row by its name; a name the table lacks does not compile
// where it is used as a constant.
constexpr const BoxRow& spriteRow(std::string_view name) {
    for (const BoxRow& row : kSprites) {
        if (row.name == name) {
            return row;
        }
    }
    throw "the scene has no such sprite";
}

// A big dot's ten seconds of blue: the interval of each ghost's frightened
// timer.
inline constexpr int kFrightenedMs = 10000;

enum class LabelBack { systemMenuText, transparent, black };

struct LabelRow {
    std::string_view name;
    int left;
    int top;
    int width;
    int height;
    std::string_view caption;
    LabelBack back;
};

inline constexpr std::array<LabelRow, 5> kLabels = {{
    {"lblScore", 360, 6720, 1575, 375, "", LabelBack::systemMenuText},
    {"lblWas", 1200, 6480, 495, 255, "Lives:", LabelBack::transparent},
    {"lblLives", 1800, 6480, 375, 255, "3", LabelBack::black},
    {"Label1", 1200, 6840, 615, 255, "Level:", LabelBack::black},
    {"lblLevel", 1800, 6840, 375, 375, "", LabelBack::black},
}};

struct ButtonRow {
    std::string_view name;
    int left;
    int top;
    int width;
    int height;
    std::string_view caption;
};

// In tab order.
inline constexpr std::array<ButtonRow, 2> kButtons = {{
    {"cmdStart", 2760, 6720, 855, 375, "&Start"},
    {"cmdAbout", 3840, 6720, 855, 375, "&About"},
}};

// The stacking of the scene, bottom first; buttons always lie above it all.
// A row names one element, or a run of a control array from `first` to
// `last`.
struct LayerRow {
    std::string_view name;
    int first = -1;
    int last = -1;
};

inline constexpr std::array<LayerRow, 67> kLayers = {{
    // Actors and stores lie below everything else, so walls and dots show
    // over them.
    {"imgGhost3"},
    {"imgGulpoLeft"},
    {"imgGulpoRight"},
    {"imgGulpoDown"},
    {"imgGulpoUp"},
    {"imgGulpo"},
    {"imgGhost2"},
    {"imgGulpo2"},
    {"imgGhost1"},
    // Walls.
    {"Shape1"},
    {"Shape2"},
    {"Shape3"},
    {"Shape4"},
    {"Shape5"},
    {"Shape6"},
    {"Shape7"},
    {"Shape8"},
    {"Shape9"},
    {"Shape10"},
    {"Shape11"},
    {"Shape12"},
    {"Shape13"},
    {"Shape14"},
    {"Shape15"},
    {"Shape16"},
    {"Shape17"},
    {"Shape18"},
    {"Shape19"},
    {"Shape20"},
    {"Shape21"},
    {"Shape22"},
    {"Shape23"},
    {"Shape24"},
    {"Shape25"},
    {"Shape26"},
    {"Shape27"},
    {"Shape28"},
    {"Shape29"},
    {"Shape30"},
    {"Shape31"},
    {"Shape32"},
    {"Shape33"},
    {"Shape34"},
    {"shpTest"},
    {"Shape36"},
    {"Shape37"},
    // Dots and the score label.
    {"shpFood", 0, 61},
    {"lblScore"},
    {"shpFood", 62, 67},
    // Labels, big dots, the fruit and more stores.
    {"lblWas"},
    {"lblLives"},
    {"imgBlue"},
    {"shpBig", 0, 3},
    {"imgGhost2real"},
    {"imgGhost1real"},
    {"imgCherry"},
    {"imgFruit"},
    {"lblLevel"},
    {"Label1"},
    {"imgBlank"},
    {"imgStrawberry"},
    {"imgPeach"},
    {"imgGhost3real"},
    // The top layer.
    {"shpFood", 68, 75},
    {"Shape35"},
    {"imgApple"},
    {"Shape38"},
}};

}  // namespace playfield
