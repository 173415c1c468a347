// The game's icon, drawn from the player's own pixel art for every size of
// the desktop's icon theme and as a scalable picture: crisp, never blurred.
#include <gtest/gtest.h>

#include <QImage>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/desktop/game_icon.h"
#include "app/desktop/icon_svg.h"
#include "playfield/artwork.h"

namespace {

const std::vector<int> kThemeSizes = {16, 22, 24, 32, 36, 48, 64, 72, 96, 128, 192, 256, 512};

// The colour an art pixel has in the icon: the black background is clear.
QRgb iconColour(platform::Colour c) {
    if (c == platform::rgb(0, 0, 0)) {
        return qRgba(0, 0, 0, 0);
    }
    return qRgba(static_cast<int>(platform::redOf(c)), static_cast<int>(platform::greenOf(c)),
                 static_cast<int>(platform::blueOf(c)), 255);
}

// Clear pixels compare equal whatever colour they would have had.
QRgb seen(QRgb pixel) {
    return qAlpha(pixel) == 0 ? qRgba(0, 0, 0, 0) : pixel;
}

// The icon at one size, in pixels.
class GameIconAtSize : public ::testing::TestWithParam<int> {};

std::string pixels(const ::testing::TestParamInfo<int>& p) {
    return std::to_string(p.param) + "px";
}

TEST_P(GameIconAtSize, IsTheSizeAskedForAndEveryPixelIsClearOrAColourOfTheArt) {
    const int size = GetParam();
    const platform::Raster player = playfield::artwork::gulpoStart();
    std::set<QRgb> artColours;
    for (const platform::Colour c : player.pixels) {
        artColours.insert(iconColour(c));
    }
    const QImage icon = desktop::gameIcon(player, size);
    ASSERT_EQ(icon.width(), size);
    ASSERT_EQ(icon.height(), size);
    int blended = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            blended += artColours.count(seen(icon.pixel(x, y))) == 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(blended, 0) << "pixels of the icon blend colours";
}

INSTANTIATE_TEST_SUITE_P(GameIcon, GameIconAtSize, ::testing::ValuesIn(kThemeSizes), pixels);

// The sizes the art fits a whole number of times.
class WholeArtIcon : public ::testing::TestWithParam<int> {};

TEST_P(WholeArtIcon, EachArtPixelIsAnEvenSquareInTheMiddle) {
    const int size = GetParam();
    const platform::Raster player = playfield::artwork::gulpoStart();
    const int scale = size / player.width;
    const int margin = (size - scale * player.width) / 2;
    const QImage icon = desktop::gameIcon(player, size);
    ASSERT_EQ(icon.width(), size);
    int wrong = 0;
    std::string first;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int ax = (x - margin) / scale;
            const int ay = (y - margin) / scale;
            const bool onArt =
                x >= margin && y >= margin && ax < player.width && ay < player.height;
            const QRgb expected = onArt ? iconColour(player.at(ax, ay)) : qRgba(0, 0, 0, 0);
            if (seen(icon.pixel(x, y)) != expected && wrong++ == 0) {
                first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        }
    }
    EXPECT_EQ(wrong, 0) << "the icon is not the art " << scale << " times over with a margin of "
                        << margin << "; first at " << first;
}

INSTANTIATE_TEST_SUITE_P(GameIcon, WholeArtIcon,
                         ::testing::Values(32, 36, 64, 72, 96, 128, 192, 256, 512), pixels);

TEST(ScalableIcon, DrawsEveryPixelOfTheArtOnceAndNothingElse) {
    const platform::Raster player = playfield::artwork::gulpoStart();
    const std::string svg = desktop::iconSvg(player);
    EXPECT_NE(svg.find("viewBox=\"0 0 25 25\""), std::string::npos);
    EXPECT_NE(svg.find("shape-rendering=\"crispEdges\""), std::string::npos);

    std::vector<platform::Colour> drawn(player.pixels.size(), platform::rgb(0, 0, 0));
    std::vector<int> times(player.pixels.size(), 0);
    const auto cell = [&player](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(player.width) +
               static_cast<std::size_t>(x);
    };
    const std::regex rect(
        R"re(<rect x="(\d+)" y="(\d+)" width="(\d+)" height="1" fill="#([0-9a-f]{6})"/>)re");
    int rects = 0;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), rect); it != std::sregex_iterator();
         ++it, ++rects) {
        const int x = std::stoi((*it)[1]);
        const int y = std::stoi((*it)[2]);
        const int width = std::stoi((*it)[3]);
        const unsigned long hex = std::stoul((*it)[4], nullptr, 16);
        const platform::Colour colour =
            platform::rgb(hex >> 16 & 0xFFu, hex >> 8 & 0xFFu, hex & 0xFFu);
        ASSERT_LE(x + width, player.width);
        ASSERT_LT(y, player.height);
        for (int i = x; i < x + width; ++i) {
            const std::size_t at = cell(i, y);
            drawn[at] = colour;
            ++times[at];
        }
    }
    ASSERT_GT(rects, 0) << svg;
    for (int y = 0; y < player.height; ++y) {
        for (int x = 0; x < player.width; ++x) {
            const std::size_t at = cell(x, y);
            const platform::Colour art = player.at(x, y);
            const bool clear = art == platform::rgb(0, 0, 0);
            EXPECT_EQ(times[at], clear ? 0 : 1) << "art pixel (" << x << ", " << y << ")";
            if (!clear) {
                EXPECT_EQ(iconColour(drawn[at]), iconColour(art)) << "(" << x << ", " << y << ")";
            }
        }
    }
}

}  // namespace
