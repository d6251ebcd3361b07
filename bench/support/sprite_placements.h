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

// Where a sheet's frames lie: square cells of blockSize pixels, perRow to a row, left to right
// and top to bottom.
struct FrameCell {
    int left;
    int top;
};

// The cells of the first frames frames, worked out before the timing as a program keeps them,
// so that a timed loop measures the draws and not the divisions that find a frame.
std::vector<FrameCell> FrameCells(int frames, int blockSize, int perRow);

}  // namespace bench
