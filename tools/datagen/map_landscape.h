// SPDX-License-Identifier: MIT
#pragma once

#include "fmp_writer.h"
#include "rgb_image.h"

namespace datagen {

constexpr int kMapWidthInBlocks = 40;
constexpr int kMapHeightInBlocks = 30;

// The game's world: a space station deck of 40 x 30 blocks inside a hull, with two patches of
// alien ground where the deck has broken away, pipes, walkways, lights, consoles, fans and a
// reactor.
TileMap BuildWorldMap();

// The whole world as one picture, each cell drawn with the block it shows.
RgbImage RenderMap(const TileMap& map);

}  // namespace datagen
