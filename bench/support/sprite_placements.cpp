// SPDX-License-Identifier: MIT
#include "sprite_placements.h"

#include <cstdint>

namespace bench {

std::vector<SpritePlacement> SpritePlacements(int count, int frames, int blockSize, int width,
                                              int height) {
    std::vector<SpritePlacement> placements;
    placements.reserve(static_cast<std::size_t>(count));
    const int half = blockSize / 2;
    // A fixed linear congruential sequence: the same placements on every machine.
    std::uint32_t state = 7;
    for (int i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        const int x =
            static_cast<int>((state >> 8) % static_cast<std::uint32_t>(width + blockSize)) - half;
        state = state * 1664525u + 1013904223u;
        const int y =
            static_cast<int>((state >> 8) % static_cast<std::uint32_t>(height + blockSize)) - half;
        placements.push_back({x, y, i % frames});
    }
    return placements;
}

std::vector<FrameCell> FrameCells(int frames, int blockSize, int perRow) {
    std::vector<FrameCell> cells;
    for (int frame = 0; frame < frames; ++frame) {
        cells.push_back({frame % perRow * blockSize, frame / perRow * blockSize});
    }
    return cells;
}

}  // namespace bench
