#include "playfield/artwork.h"

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/colour.h"

namespace playfield::artwork {

namespace {

using platform::Colour;
using platform::PaletteEntry;
using platform::Raster;
using platform::rgb;

// The shared colours. Pure blue is kept out of every picture: the maze walls
// are drawn in it and the wall test looks for exactly that colour.
constexpr Colour kBlack = rgb(0, 0, 0);
constexpr Colour kWhite = rgb(255, 255, 255);
constexpr Colour kYellow = rgb(255, 255, 0);
constexpr Colour kPupil = rgb(30, 30, 120);
constexpr Colour kLeaf = rgb(40, 170, 40);
constexpr Colour kStalk = rgb(120, 70, 20);

// True when the map is exactly height rows of width pixels, so a slip in
// drawing a row stops the build instead of the game.
template <std::size_t N>
constexpr bool isRectangle(const std::string_view (&rows)[N], std::size_t width,
                           std::size_t height) {
    if (N != height) {
        return false;
    }
    for (const std::string_view row : rows) {
        if (row.size() != width) {
            return false;
        }
    }
    return true;
}

template <std::size_t N>
Raster fromMap(const std::string_view (&rows)[N], const std::vector<PaletteEntry>& palette) {
    return platform::rasterFromPixelMap(std::vector<std::string_view>(rows, rows + N), palette);
}

// Turns a picture so Gulpo can face every way from one drawing: mirror flips
// it left to right, then swapAxes reflects it across the top-left to
// bottom-right diagonal (a right-facing mouth comes to face down).
Raster reoriented(const Raster& source, bool mirror, bool swapAxes) {
    Raster out;
    out.width = swapAxes ? source.height : source.width;
    out.height = swapAxes ? source.width : source.height;
    out.pixels.reserve(source.pixels.size());
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            int sx = swapAxes ? y : x;
            const int sy = swapAxes ? x : y;
            if (mirror) {
                sx = source.width - 1 - sx;
            }
            out.pixels.push_back(source.at(sx, sy));
        }
    }
    return out;
}

// Gulpo facing right, mouth a wedge of about 66 degrees.
// clang-format off
constexpr std::string_view kGulpoMap[] = {
    ".........YYYYYYY.........",
    ".......YYYYYYYYYYY.......",
    ".....YYYYYYYYYYYYYYY.....",
    "....YYYYYYYYYYYYYYYYY....",
    "...YYYYYYYYYYYYYYYYYYY...",
    "..YYYYYYYYYYYYYYYYYYYYY..",
    "..YYYYYYYYYYYYYYYYYYYY...",
    ".YYYYYYYYYYYYYYYYYYY.....",
    ".YYYYYYYYYYYYYYYYYY......",
    "YYYYYYYYYYYYYYYYY........",
    "YYYYYYYYYYYYYYYY.........",
    "YYYYYYYYYYYYYY...........",
    "YYYYYYYYYYYY.............",
    "YYYYYYYYYYYYYY...........",
    "YYYYYYYYYYYYYYYY.........",
    "YYYYYYYYYYYYYYYYY........",
    ".YYYYYYYYYYYYYYYYYY......",
    ".YYYYYYYYYYYYYYYYYYY.....",
    "..YYYYYYYYYYYYYYYYYYYY...",
    "..YYYYYYYYYYYYYYYYYYYYY..",
    "...YYYYYYYYYYYYYYYYYYY...",
    "....YYYYYYYYYYYYYYYYY....",
    ".....YYYYYYYYYYYYYYY.....",
    ".......YYYYYYYYYYY.......",
    ".........YYYYYYY.........",
};
// clang-format on
static_assert(isRectangle(kGulpoMap, 25, 25));

// The larger Gulpo facing right, mouth opened wider, to about 90 degrees.
// clang-format off
constexpr std::string_view kGulpoLargeMap[] = {
    "............YYYYYY............",
    ".........YYYYYYYYYYYY.........",
    ".......YYYYYYYYYYYYYYYY.......",
    "......YYYYYYYYYYYYYYYYYY......",
    "....YYYYYYYYYYYYYYYYYYYYYY....",
    "....YYYYYYYYYYYYYYYYYYYYY.....",
    "...YYYYYYYYYYYYYYYYYYYYY......",
    "..YYYYYYYYYYYYYYYYYYYYY.......",
    "..YYYYYYYYYYYYYYYYYYYY........",
    ".YYYYYYYYYYYYYYYYYYYY.........",
    ".YYYYYYYYYYYYYYYYYYY..........",
    ".YYYYYYYYYYYYYYYYYY...........",
    "YYYYYYYYYYYYYYYYYY............",
    "YYYYYYYYYYYYYYYYY.............",
    "YYYYYYYYYYYYYYYY..............",
    "YYYYYYYYYYYYYYYY..............",
    "YYYYYYYYYYYYYYYYY.............",
    "YYYYYYYYYYYYYYYYYY............",
    ".YYYYYYYYYYYYYYYYYY...........",
    ".YYYYYYYYYYYYYYYYYYY..........",
    ".YYYYYYYYYYYYYYYYYYYY.........",
    "..YYYYYYYYYYYYYYYYYYYY........",
    "..YYYYYYYYYYYYYYYYYYYYY.......",
    "...YYYYYYYYYYYYYYYYYYYYY......",
    "....YYYYYYYYYYYYYYYYYYYYY.....",
    "....YYYYYYYYYYYYYYYYYYYYYY....",
    "......YYYYYYYYYYYYYYYYYY......",
    ".......YYYYYYYYYYYYYYYY.......",
    ".........YYYYYYYYYYYY.........",
    "............YYYYYY............",
};
// clang-format on
static_assert(isRectangle(kGulpoLargeMap, 30, 30));

const std::vector<PaletteEntry> kGulpoPalette = {{'.', kBlack}, {'Y', kYellow}};

// A chasing ghost: domed head, eyes looking ahead, three feet and two half
// feet along the skirt. 'G' is the body, filled in per ghost.
// clang-format off
constexpr std::string_view kGhostMap[] = {
    ".........GGGGGGG.........",
    "......GGGGGGGGGGGGG......",
    "....GGGGGGGGGGGGGGGGG....",
    "...GGGGGGGGGGGGGGGGGGG...",
    "..GGGGGGGGGGGGGGGGGGGGG..",
    "..GGGGGGGGGGGGGGGGGGGGG..",
    ".GGGGGGGGGGGGGGGGGGGGGGG.",
    ".GGGGWWWWGGGGGGGWWWWGGGG.",
    "GGGGWWWWWWGGGGGWWWWWWGGGG",
    "GGGGWWPPWWGGGGGWWPPWWGGGG",
    "GGGGWWPPWWGGGGGWWPPWWGGGG",
    "GGGGWWWWWWGGGGGWWWWWWGGGG",
    "GGGGGWWWWGGGGGGGWWWWGGGGG",
    "GGGGGGGGGGGGGGGGGGGGGGGGG",
    "GGGGGGGGGGGGGGGGGGGGGGGGG",
    "GGGGGGGGGGGGGGGGGGGGGGGGG",
    "GGGGGGGGGGGGGGGGGGGGGGGGG",
    "GGGGGGGGGGGGGGGGGGGGGGGGG",
    "GGGGGGGGGGGGGGGGGGGGGGGGG",
    "GGGGGGGGGGGGGGGGGGGGGGGGG",
    "GGGGGGGGGGGGGGGGGGGGGGGGG",
    "GGGGGGGGGGGGGGGGGGGGGGGGG",
    "GGGGGGGGGGGGGGGGGGGGGGGGG",
    "GGG.GGGGG.GGGGG.GGGGG.GGG",
    "GG...GGG...GGG...GGG...GG",
    "G....GGG...GGG...GGG....G",
};
// clang-format on
static_assert(isRectangle(kGhostMap, 25, 26));

Raster ghost(Colour body) {
    return fromMap(kGhostMap, {{'.', kBlack}, {'G', body}, {'W', kWhite}, {'P', kPupil}});
}

// A frightened ghost: the same outline, small eyes and a zigzag mouth.
// clang-format off
constexpr std::string_view kBlueGhostMap[] = {
    ".........BBBBBBB.........",
    "......BBBBBBBBBBBBB......",
    "....BBBBBBBBBBBBBBBBB....",
    "...BBBBBBBBBBBBBBBBBBB...",
    "..BBBBBBBBBBBBBBBBBBBBB..",
    "..BBBBBBBBBBBBBBBBBBBBB..",
    ".BBBBBBBBBBBBBBBBBBBBBBB.",
    ".BBBBBBBBBBBBBBBBBBBBBBB.",
    "BBBBBBBBBBBBBBBBBBBBBBBBB",
    "BBBBBBBBWWBBBBBWWBBBBBBBB",
    "BBBBBBBBWWBBBBBWWBBBBBBBB",
    "BBBBBBBBBBBBBBBBBBBBBBBBB",
    "BBBBBBBBBBBBBBBBBBBBBBBBB",
    "BBBBBBBBBBBBBBBBBBBBBBBBB",
    "BBBBBBBBBBBBBBBBBBBBBBBBB",
    "BBBBWBBBWBBBWBBBWBBBWBBBB",
    "BBBWBWBWBWBWBWBWBWBWBWBBB",
    "BBWBBBWBBBWBBBWBBBWBBBWBB",
    "BBBBBBBBBBBBBBBBBBBBBBBBB",
    "BBBBBBBBBBBBBBBBBBBBBBBBB",
    "BBBBBBBBBBBBBBBBBBBBBBBBB",
    "BBBBBBBBBBBBBBBBBBBBBBBBB",
    "BBBBBBBBBBBBBBBBBBBBBBBBB",
    "BBB.BBBBB.BBBBB.BBBBB.BBB",
    "BB...BBB...BBB...BBB...BB",
    "B....BBB...BBB...BBB....B",
};
// clang-format on
static_assert(isRectangle(kBlueGhostMap, 25, 26));

// An apple: red with a shaded right side, a shine at the upper left, a stalk
// and a leaf.
// clang-format off
constexpr std::string_view kAppleMap[] = {
    ".................",
    ".........S..LL...",
    "........S.LLLLL..",
    "........SLLLL....",
    "...RRRR.S.RRRR...",
    "..RRRRRRRRRRRRR..",
    ".RRWWRRRRRRRRRRR.",
    ".RWWRRRRRRRRRRRR.",
    "RRWRRRRRRRRRRRRRD",
    "RRWRRRRRRRRRRRRRD",
    "RRRRRRRRRRRRRRRRD",
    "RRRRRRRRRRRRRRRDD",
    ".RRRRRRRRRRRRRDD.",
    ".RRRRRRRRRRRRRDD.",
    "..RRRRRRRRRRRDD..",
    "...RRRRR.RRRRD...",
    "....RRR...RRR....",
};
// clang-format on
static_assert(isRectangle(kAppleMap, 17, 17));

// A peach: orange with a blush of light at the upper left, the crease running
// down from the stalk, and one leaf.
// clang-format off
constexpr std::string_view kPeachMap[] = {
    "...........LL....",
    "........S.LLLL...",
    "........SLLLLL...",
    "........SLL......",
    "....OOOOSOOOO....",
    "..OOPPOOcOOOOOO..",
    ".OOPPPOOcOOOOOOO.",
    ".OPPPOOOcOOOOOOO.",
    "OOPPOOOcOOOOOOOOO",
    "OOPPOOOcOOOOOOOOD",
    "OOPOOOOcOOOOOOOOD",
    "OOOOOOOcOOOOOOODD",
    ".OOOOOOcOOOOOODD.",
    ".OOOOOOOcOOOODDD.",
    "..OOOOOOOOOODDD..",
    "...OOOOOOOOODD...",
    ".....OOOODDD.....",
};
// clang-format on
static_assert(isRectangle(kPeachMap, 17, 17));

// A strawberry: a crown of leaves on a red berry dotted with pale seeds.
// clang-format off
constexpr std::string_view kStrawberryMap[] = {
    "........L........",
    "...LL...L...LL...",
    "....LLLLLLLLL....",
    "..RRLLLLLLLLLRR..",
    ".RRRRLLRLRLLRRRR.",
    "RRRYRRRYRYRRRYRRR",
    "RRRRRRRRRRRRRRRRR",
    "RYRRRYRRRRRYRRRYR",
    ".RRRRRRRYRRRRRRR.",
    ".RRYRRRRRRRRRYRR.",
    "..RRRRYRRRYRRRR..",
    "..RRRRRRRRRRRRR..",
    "...RRYRRRRRYRR...",
    "....RRRRYRRRR....",
    ".....RRRRRRR.....",
    "......RRRRR......",
    ".......RRR.......",
};
// clang-format on
static_assert(isRectangle(kStrawberryMap, 17, 17));

// A pair of cherries hanging from stalks that meet under a leaf.
// clang-format off
constexpr std::string_view kCherryMap[] = {
    "............LLL..",
    "..........SLLLLL.",
    ".........SS..LL..",
    "........S..S.....",
    ".......S...S.....",
    "......S....S.....",
    ".....S......S....",
    "....S.......S....",
    "..RRSR......S....",
    ".RWWRRR...RSRR...",
    "RWWRRRRR..RWWRRR.",
    "RWRRRRRD.RWWRRRRR",
    "RRRRRRRD.RWRRRRRD",
    "RRRRRRDD.RRRRRRRD",
    ".RRRRDD..RRRRRRDD",
    "..RDDD....RRRRDD.",
    "...........RDDD..",
};
// clang-format on
static_assert(isRectangle(kCherryMap, 17, 17));

}  // namespace

// Only the right-facing Gulpo is drawn; the other three are turned from it.
Raster gulpoRight() {
    return fromMap(kGulpoMap, kGulpoPalette);
}
Raster gulpoLeft() {
    return reoriented(gulpoRight(), /*mirror=*/true, /*swapAxes=*/false);
}
Raster gulpoUp() {
    return reoriented(gulpoRight(), /*mirror=*/true, /*swapAxes=*/true);
}
Raster gulpoDown() {
    return reoriented(gulpoRight(), /*mirror=*/false, /*swapAxes=*/true);
}
Raster gulpoStart() {
    return fromMap(kGulpoMap, kGulpoPalette);
}
Raster gulpoLarge() {
    return fromMap(kGulpoLargeMap, kGulpoPalette);
}

Raster ghost1() {
    return ghost(rgb(240, 60, 20));
}
Raster ghost2() {
    return ghost(rgb(255, 150, 200));
}
Raster ghost3() {
    return ghost(rgb(0, 230, 230));
}

Raster blueGhost() {
    return fromMap(kBlueGhostMap, {{'.', kBlack}, {'B', rgb(30, 30, 200)}, {'W', kWhite}});
}

Raster apple() {
    return fromMap(kAppleMap, {{'.', kBlack},
                               {'R', rgb(220, 20, 30)},
                               {'D', rgb(150, 10, 20)},
                               {'W', rgb(255, 170, 170)},
                               {'S', kStalk},
                               {'L', kLeaf}});
}

Raster peach() {
    return fromMap(kPeachMap, {{'.', kBlack},
                               {'O', rgb(255, 150, 60)},
                               {'P', rgb(255, 205, 150)},
                               {'c', rgb(215, 100, 40)},
                               {'D', rgb(200, 90, 35)},
                               {'S', kStalk},
                               {'L', kLeaf}});
}

Raster strawberry() {
    return fromMap(kStrawberryMap, {{'.', kBlack},
                                    {'R', rgb(230, 20, 40)},
                                    {'Y', rgb(255, 230, 150)},
                                    {'L', rgb(40, 180, 40)}});
}

Raster cherry() {
    return fromMap(kCherryMap, {{'.', kBlack},
                                {'R', rgb(215, 15, 30)},
                                {'D', rgb(145, 10, 20)},
                                {'W', rgb(255, 170, 170)},
                                {'S', kStalk},
                                {'L', kLeaf}});
}

}  // namespace playfield::artwork
