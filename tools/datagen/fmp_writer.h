// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "rgb_image.h"

namespace datagen {

// Everything that goes into a tile map file, by index; the writer turns indices into the
// byte offsets the file uses.
struct TileMap {
    // A cell shows either a block record directly or through an animation record.
    struct Cell {
        bool animated = false;
        int index = 0;  // block record or animation record
    };
    struct Animation {
        std::vector<int> frames;  // block record indices, in playing order
        int currentFrame = 0;     // index into frames: the block the cell shows
        std::uint8_t delay = 0;   // ticks per frame, for editors that play animations
    };

    int widthInBlocks = 0;
    int heightInBlocks = 0;
    int blockWidth = 0;
    int blockHeight = 0;
    std::vector<RgbImage> graphics;  // each blockWidth x blockHeight
    std::vector<int> blockGraphics;  // block record k shows graphic blockGraphics[k]
    std::vector<Animation> animations;
    std::vector<Cell> cells;  // row by row, widthInBlocks x heightInBlocks
    std::array<Rgb8, 256> palette{};
};

// Encodes the map as a "FORM"/"FMAP" file with chunks MPHD, CMAP, BKDT, ANDT, BGFX and BODY,
// with 16-bit 5-6-5 block pixels. Throws std::invalid_argument if the map is inconsistent
// (a cell or frame naming a record that does not exist, a graphic of the wrong size, ...).
std::vector<std::uint8_t> EncodeFmp(const TileMap& map);

}  // namespace datagen
