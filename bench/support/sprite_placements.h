// SPDX-License-Identifier: MIT
#pragma once

// Where the sprite benchmarks draw their frames: the same pseudo-random placements for every
// side of a comparison and for every run, so that the engine and SDL draw the same pixels.

#include <vector>

namespace bench {

struct SpritePlacement {
    int x;
    int y;
    int frame;
};

// count placements of square frames of blockSize pixels over a width x height surface, from
// half a frame outside it to half a frame inside its far edges (about one frame in ten is cut
// by an edge), cycling through frames frames.
std::vector<SpritePlacement> SpritePlacements(int count, int frames, int blockSize, int width,
                                              int height);

}  // namespace bench
