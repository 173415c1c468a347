#pragma once

#include "platform/picture.h"

// The game's pixel art, drawn as text pixel maps. Every call builds a fresh
// raster on a black background.
namespace playfield::artwork {

// Gulpo, the player: a yellow disc, 25x25, its mouth open towards the named side.
platform::Raster gulpoRight();
platform::Raster gulpoLeft();
platform::Raster gulpoUp();
platform::Raster gulpoDown();

// Gulpo as he first appears, mouth open to the right, 25x25.
platform::Raster gulpoStart();

// A larger Gulpo with a wider mouth, open to the right, 30x30.
platform::Raster gulpoLarge();

// The three chasing ghosts, 25x26: red-orange, pink and cyan.
platform::Raster ghost1();
platform::Raster ghost2();
platform::Raster ghost3();

// A frightened ghost, 25x26: dark blue with a white zigzag mouth.
platform::Raster blueGhost();

// The bonus fruit, 17x17 each.
platform::Raster apple();
platform::Raster peach();
platform::Raster strawberry();
platform::Raster cherry();

}  // namespace playfield::artwork
