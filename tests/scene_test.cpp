// The main window's scene: the tables behind it, the stacking of its
// elements and its artwork.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "playfield/layout.h"
#include "playfield/playfield.h"

namespace {

using playfield::kWalls;

TEST(SceneTables, EveryWallEndsWhereTheMazeDrawingSays) {
    // Right and bottom edges of Shape1..Shape38 and shpTest, as drawn.
    const std::pair<int, int> edges[39] = {
        {6015, 255},  {495, 2655},  {495, 6135},  {1215, 2775}, {1215, 3375}, {6135, 6255},
        {6135, 2775}, {6015, 2775}, {6135, 6135}, {6015, 3495}, {2775, 2775}, {3855, 2775},
        {2655, 3375}, {3855, 3495}, {3975, 3495}, {2055, 2655}, {2055, 4935}, {2775, 2175},
        {2655, 4215}, {4095, 4935}, {3375, 4695}, {4695, 4215}, {4815, 4935}, {2055, 5655},
        {5535, 5655}, {1335, 4455}, {1335, 4935}, {2895, 6135}, {4815, 5655}, {3975, 1455},
        {4575, 2175}, {1335, 2175}, {4815, 3495}, {5415, 855},  {2055, 1455}, {3255, 855},
        {3975, 855},  {4695, 3495}, {5535, 2175}};
    ASSERT_EQ(kWalls.size(), 39u);
    for (std::size_t i = 0; i < kWalls.size(); ++i) {
        const auto& w = kWalls[i];
        const std::string expectedName = i < 38 ? "Shape" + std::to_string(i + 1) : "shpTest";
        EXPECT_EQ(w.name, expectedName);
        EXPECT_EQ(w.left + w.width, edges[i].first) << w.name;
        EXPECT_EQ(w.top + w.height, edges[i].second) << w.name;
    }
}

TEST(SceneTables, DotsAreWhereTheMazeDrawingPutsThem) {
    long long lefts = 0;
    long long tops = 0;
    long long weighted = 0;
    for (std::size_t i = 0; i < playfield::kFood.size(); ++i) {
        lefts += playfield::kFood[i].left;
        tops += playfield::kFood[i].top;
        weighted +=
            static_cast<long long>(i) * (playfield::kFood[i].left + 7 * playfield::kFood[i].top);
    }
    EXPECT_EQ(playfield::kFood.size(), 76u);
    EXPECT_EQ(lefts, 244680);
    EXPECT_EQ(tops, 238920);
    EXPECT_EQ(weighted, 74141160) << "a dot is out of place or two are swapped";
}

TEST(SceneTables, NoDotOrBigDotTouchesAWall) {
    playfield::Playfield scene;
    auto overlaps = [](const platform::Box& a, const platform::Box& b) {
        return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
               b.top < a.top + a.height;
    };
    for (const auto& w : scene.walls) {
        for (int i = 0; i < 76; ++i) {
            EXPECT_FALSE(overlaps(w->box(), scene.shpFood(i).box())) << w->name() << " dot " << i;
        }
        for (int i = 0; i < 4; ++i) {
            EXPECT_FALSE(overlaps(w->box(), scene.shpBig(i).box())) << w->name() << " big " << i;
        }
        EXPECT_FALSE(overlaps(w->box(), scene.imgFruit.box())) << w->name();
    }
}

TEST(SceneLayers, EveryElementIsStackedOnceWithTheActorsBelowTheWalls) {
    playfield::Playfield scene;
    const auto& layers = scene.frmGulpo.layers();
    EXPECT_EQ(layers.size(), 39u + 76u + 4u + 19u + 5u);
    std::set<const platform::Element*> unique(layers.begin(), layers.end());
    EXPECT_EQ(unique.size(), layers.size());
    auto indexOf = [&](const platform::Element& e) {
        return std::find(layers.begin(), layers.end(), &e) - layers.begin();
    };
    const auto lowestWall = indexOf(scene.wall("Shape1"));
    for (const platform::Image* actor :
         {&scene.imgGulpo, &scene.imgGhost1, &scene.imgGhost2, &scene.imgGhost3}) {
        EXPECT_LT(indexOf(*actor), lowestWall) << actor->name();
    }
    EXPECT_EQ(layers.front(), &scene.imgGhost3);
    EXPECT_EQ(layers.back(), &scene.wall("Shape38"));
    EXPECT_GT(indexOf(scene.imgFruit), indexOf(scene.shpFood(0)));
    EXPECT_EQ(indexOf(scene.lblScore), indexOf(scene.shpFood(61)) + 1);
    EXPECT_EQ(scene.frmGulpo.buttons().size(), 2u);
    EXPECT_EQ(scene.frmGulpo.buttons()[0], &scene.cmdStart);
    EXPECT_EQ(scene.frmGulpo.focused(), &scene.cmdStart);
    EXPECT_EQ(scene.frmGulpo.defaultButton(), &scene.cmdStart);
}

TEST(SceneAtLoad, ShowsTheWindowAsDesigned) {
    playfield::Playfield scene;
    EXPECT_EQ(scene.frmGulpo.caption(), "Gulpo");
    EXPECT_EQ(scene.frmGulpo.clientWidth(), 7005);
    EXPECT_EQ(scene.frmGulpo.clientHeight(), 7800);
    EXPECT_EQ(scene.lblWas.Caption(), "Lives:");
    EXPECT_EQ(scene.lblLives.Caption(), "3");
    EXPECT_EQ(scene.Label1.Caption(), "Level:");
    EXPECT_EQ(scene.lblLevel.Caption(), "");
    EXPECT_EQ(scene.lblScore.Caption(), "");
    EXPECT_EQ(scene.cmdStart.Caption(), "&Start");
    EXPECT_EQ(scene.cmdStart.accessKey(), 'S');
    EXPECT_EQ(scene.cmdAbout.Caption(), "&About");
    EXPECT_EQ(scene.cmdAbout.accessKey(), 'A');
    EXPECT_TRUE(scene.tmrMain.Enabled());
    EXPECT_EQ(scene.tmrMain.Interval(), 1);
    EXPECT_FALSE(scene.tmrGhost2.Enabled());
    EXPECT_EQ(scene.tmrGhost2.Interval(), 10000);
    EXPECT_EQ(scene.imgGhost1.box().height, 390);
    EXPECT_EQ(scene.imgGhost3.box().height, 375);
    EXPECT_TRUE(scene.imgFruit.picture().isEmpty());
    // The stores to the right of the client area are never seen.
    for (const char* store :
         {"imgGulpoLeft", "imgGulpoRight", "imgGulpoDown", "imgGulpoUp", "imgGulpo2",
          "imgGhost1real", "imgGhost2real", "imgGhost3real", "imgBlue"}) {
        EXPECT_GE(scene.sprite(store).Left(), 7080) << store;
    }
}

TEST(Artwork, NoPictureUsesTheWallColourAndEveryStoreHasOne) {
    playfield::Playfield scene;
    for (const char* name :
         {"imgGulpo", "imgGhost1", "imgGhost2", "imgGhost3", "imgGulpoLeft", "imgGulpoRight",
          "imgGulpoDown", "imgGulpoUp", "imgGulpo2", "imgGhost1real", "imgGhost2real",
          "imgGhost3real", "imgBlue", "imgApple", "imgPeach", "imgStrawberry", "imgCherry"}) {
        const platform::Raster& r = scene.sprite(name).picture().raster();
        EXPECT_GT(r.width, 0) << name;
        EXPECT_EQ(r.pixels.size(), static_cast<std::size_t>(r.width * r.height)) << name;
        int wallPixels = 0;
        for (platform::Colour c : r.pixels) {
            wallPixels += (c == playfield::WallColour) ? 1 : 0;
        }
        EXPECT_EQ(wallPixels, 0) << name;
    }
}

TEST(Artwork, ThePlayerFacesEachWayFromOneDrawing) {
    playfield::Playfield scene;
    const platform::Raster& right = scene.imgGulpoRight.picture().raster();
    const platform::Raster& left = scene.imgGulpoLeft.picture().raster();
    const platform::Raster& down = scene.imgGulpoDown.picture().raster();
    ASSERT_EQ(right.width, left.width);
    int mirrored = 0;
    for (int y = 0; y < right.height; ++y) {
        for (int x = 0; x < right.width; ++x) {
            mirrored += right.at(x, y) == left.at(right.width - 1 - x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(mirrored, right.width * right.height);
    // The mouth is open: the middle of the right edge is background when
    // facing right, and the middle of the bottom edge when facing down.
    const platform::Colour black = platform::rgb(0, 0, 0);
    EXPECT_EQ(right.at(right.width - 2, right.height / 2), black);
    EXPECT_NE(right.at(1, right.height / 2), black);
    EXPECT_EQ(down.at(down.width / 2, down.height - 2), black);
}

}  // namespace
