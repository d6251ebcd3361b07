// SPDX-License-Identifier: MIT
#pragma once

// The order and geometry of the block copies that fill a map view: once round the border
// clockwise from the top-left corner, where blocks are cut at the view's edges, then the whole
// blocks of the inside row by row. Every pixel of the view is covered by exactly one copy.

#include <cstdint>

namespace cdx {

// A view of the map at a scroll position, in pixels; the view must be at least three blocks
// wide and tall (FmpMap::Create makes it so).
struct ViewGeometry {
    std::int32_t BlockWidth = 0;
    std::int32_t BlockHeight = 0;
    std::int32_t ViewX = 0;
    std::int32_t ViewY = 0;
    std::int32_t ViewWidth = 0;
    std::int32_t ViewHeight = 0;
    std::int32_t ScrollX = 0;
    std::int32_t ScrollY = 0;
};

// One copy: the cell at (Column, Row) counted from the view's first cell (the one under its
// top-left corner), the part of its block to copy (right and bottom exclusive), and where the
// part goes.
struct BlockCopy {
    std::int32_t Column = 0;
    std::int32_t Row = 0;
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool Inner = false;  // a whole block of the inside, not of the border
};

// Calls copy(const BlockCopy&) -> bool for every copy in order. The results of border copies
// are not looked at; the first inner copy that answers false ends the walk with false.
template <typename CopyOp>
bool WalkView(const ViewGeometry& view, CopyOp copy) {
    const std::int32_t bw = view.BlockWidth;
    const std::int32_t bh = view.BlockHeight;
    const std::int32_t ox = view.ScrollX % bw;
    const std::int32_t oy = view.ScrollY % bh;
    const std::int32_t right = view.ViewX + view.ViewWidth;
    const std::int32_t bottom = view.ViewY + view.ViewHeight;
    const std::int32_t firstInnerX = view.ViewX - ox + bw;
    const std::int32_t firstInnerY = view.ViewY - oy + bh;
    std::int32_t column = 0;
    std::int32_t row = 0;

    // Top-left corner, then the left column downwards and the bottom-left corner.
    copy(BlockCopy{column, row, ox, oy, bw, bh, view.ViewX, view.ViewY});
    std::int32_t y = firstInnerY;
    for (; y < bottom - bh; y += bh) copy(BlockCopy{column, ++row, ox, 0, bw, bh, view.ViewX, y});
    copy(BlockCopy{column, ++row, ox, 0, bw, bottom - y, view.ViewX, y});

    // The bottom row rightwards and the bottom-right corner.
    std::int32_t x = firstInnerX;
    for (; x < right - bw; x += bw) copy(BlockCopy{++column, row, 0, 0, bw, bottom - y, x, y});
    copy(BlockCopy{++column, row, 0, 0, right - x, bottom - y, x, y});

    // The right column upwards, the top-right corner, and the top row leftwards.
    while (y > view.ViewY + bh) {
        y -= bh;
        copy(BlockCopy{column, --row, 0, 0, right - x, bh, x, y});
    }
    copy(BlockCopy{column, --row, 0, oy, right - x, bh, x, view.ViewY});
    while (x > view.ViewX + bw) {
        x -= bw;
        copy(BlockCopy{--column, row, 0, oy, bw, bh, x, view.ViewY});
    }

    // The inside, row by row.
    row = 1;
    for (y = firstInnerY; y < bottom - bh; y += bh, ++row) {
        column = 1;
        for (x = firstInnerX; x < right - bw; x += bw, ++column) {
            if (!copy(BlockCopy{column, row, 0, 0, bw, bh, x, y, true})) return false;
        }
    }
    return true;
}

}  // namespace cdx
