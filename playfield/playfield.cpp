#include "playfield/playfield.h"

#include <stdexcept>
#include <string>

#include "playfield/artwork.h"
#include "playfield/layout.h"

namespace playfield {

namespace {

using platform::Box;
using platform::Picture;

// The row of that name in one of the scene's tables.
template <typename Row, std::size_t N>
const Row& rowNamed(const std::array<Row, N>& table, std::string_view name) {
    for (const Row& row : table) {
        if (row.name == name) {
            return row;
        }
    }
    throw std::invalid_argument("the scene has no element named " + std::string(name));
}

template <typename Row>
Box boxOf(const Row& row) {
    return Box{row.left, row.top, row.width, row.height};
}

platform::LabelStyle labelStyle(std::string_view name) {
    platform::LabelStyle style;
    style.foreColour = LabelColour;
    switch (rowNamed(kLabels, name).back) {
        case LabelBack::systemMenuText:
            style.backColour = platform::kMenuText;
            break;
        case LabelBack::transparent:
            style.backColour = platform::rgb(0, 0, 0);
            style.transparent = true;
            break;
        case LabelBack::black:
            style.backColour = platform::rgb(0, 0, 0);
            break;
    }
    return style;
}

Picture art(platform::Raster raster) {
    return Picture::fromRaster(std::move(raster));
}

// The sprites the scene holds are the rows of its sprite table, in order.
#define GULPO_SPRITE_NAME(name, picture) #name,
constexpr std::string_view kSpriteNames[] = {GULPO_SPRITES(GULPO_SPRITE_NAME)};
#undef GULPO_SPRITE_NAME
constexpr bool spritesMatchTheTable() {
    if (std::size(kSpriteNames) != kSprites.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kSprites.size(); ++i) {
        if (kSpriteNames[i] != kSprites[i].name) {
            return false;
        }
    }
    return true;
}
static_assert(spritesMatchTheTable());

}  // namespace

#define GULPO_SPRITE(name, picture) name(#name, boxOf(spriteRow(#name)), picture),
#define GULPO_LABEL(name)                                                                       \
    name(#name, boxOf(rowNamed(kLabels, #name)), std::string(rowNamed(kLabels, #name).caption), \
         labelStyle(#name))
#define GULPO_BUTTON(name) \
    name(#name, boxOf(rowNamed(kButtons, #name)), std::string(rowNamed(kButtons, #name).caption))

Playfield::Playfield()
    : frmGulpo("frmGulpo", "Gulpo", kClientWidth, kClientHeight, platform::kMenuText),
      GULPO_SPRITES(GULPO_SPRITE) GULPO_LABEL(lblScore),
      GULPO_LABEL(lblWas),
      GULPO_LABEL(lblLives),
      GULPO_LABEL(Label1),
      GULPO_LABEL(lblLevel),
      GULPO_BUTTON(cmdStart),
      GULPO_BUTTON(cmdAbout) {
    for (std::size_t i = 0; i < kWalls.size(); ++i) {
        walls[i] = std::make_unique<platform::Shape>(std::string(kWalls[i].name),
                                                     platform::ShapeKind::rectangle,
                                                     boxOf(kWalls[i]), WallColour);
    }
    for (int i = 0; i < shpFood.size(); ++i) {
        const SpotRow& s = kFood[static_cast<std::size_t>(i)];
        shpFood.place(i, std::make_unique<platform::Shape>(
                             "shpFood(" + std::to_string(i) + ")", platform::ShapeKind::circle,
                             Box{s.left, s.top, kDotSize, kDotSize}, DotColour));
    }
    for (int i = 0; i < shpBig.size(); ++i) {
        const SpotRow& s = kBig[static_cast<std::size_t>(i)];
        shpBig.place(i, std::make_unique<platform::Shape>(
                            "shpBig(" + std::to_string(i) + ")", platform::ShapeKind::circle,
                            Box{s.left, s.top, kBigDotSize, kBigDotSize}, BigDotColour));
    }
    stackLayers();
    // What a screen reader says with each value the game writes.
    lblLives.setNamedBy(&lblWas);
    lblLevel.setNamedBy(&Label1);
    lblScore.setValueName("Score");
    frmGulpo.addButton(cmdStart, true);
    frmGulpo.addButton(cmdAbout);
}

#undef GULPO_SPRITE
#undef GULPO_LABEL
#undef GULPO_BUTTON

platform::Shape& Playfield::wall(std::string_view name) {
    for (auto& w : walls) {
        if (w->name() == name) {
            return *w;
        }
    }
    throw std::invalid_argument("the maze has no wall named " + std::string(name));
}

platform::Image& Playfield::sprite(std::string_view name) {
#define GULPO_SPRITE_ADDRESS(name, picture) &(name),
    platform::Image* all[] = {GULPO_SPRITES(GULPO_SPRITE_ADDRESS)};
#undef GULPO_SPRITE_ADDRESS
    for (platform::Image* img : all) {
        if (img->name() == name) {
            return *img;
        }
    }
    throw std::invalid_argument("the scene has no sprite named " + std::string(name));
}

void Playfield::stackLayers() {
    platform::Label* labels[] = {&lblScore, &lblWas, &lblLives, &Label1, &lblLevel};
    for (const LayerRow& row : kLayers) {
        if (row.name == "shpFood" || row.name == "shpBig") {
            for (int i = row.first; i <= row.last; ++i) {
                frmGulpo.add(row.name == "shpFood" ? shpFood(i) : shpBig(i));
            }
            continue;
        }
        platform::Element* found = nullptr;
        for (platform::Label* l : labels) {
            if (l->name() == row.name) {
                found = l;
            }
        }
        if (found == nullptr && row.name.starts_with("Shape")) {
            found = &wall(row.name);
        }
        if (found == nullptr && row.name == "shpTest") {
            found = &wall(row.name);
        }
        if (found == nullptr) {
            found = &sprite(row.name);
        }
        frmGulpo.add(*found);
    }
}

void Playfield::attach(platform::Platform& platform) {
    platform.timers().add(tmrMain);
    platform.timers().add(tmrGhost1);
    platform.timers().add(tmrGhost2);
    platform.timers().add(tmrGhost3);
    platform.attach(frmGulpo);
}

}  // namespace playfield
