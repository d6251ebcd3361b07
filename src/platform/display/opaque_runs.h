// SPDX-License-Identifier: MIT
#pragma once

// The opaque runs of a keyed surface: for every row of the whole surface, the stretches of
// pixels that differ from the colour key, as (start column, length) pairs kept in one array,
// with the index of each row's first pair. A keyed draw of any rectangle of the surface (a
// frame of a sheet) walks these runs cut to the rectangle instead of testing the key per
// pixel, and never reads or writes a destination pixel under a key pixel. Plain functions
// over bytes: the display surface owns one table per key and rebuilds it after any write.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/display/pixel_blits.h"

namespace platform {

struct OpaqueRun {
    std::uint16_t start;   // the first column of the run
    std::uint16_t length;  // pixels, at least 1
};

class OpaqueRuns {
public:
    // The widest surface a table describes: columns are kept in 16 bits.
    static constexpr int kMaxWidth = 65535;

    // The runs of the width x height pixels at pixels, of bytesPerPixel bytes (1 to 4): a
    // pixel belongs to a run when (pixel & comparedBits) differs from (key & comparedBits).
    // Nothing for a pixel size outside 1 to 4, a negative size or a width over kMaxWidth.
    static std::optional<OpaqueRuns> Build(ConstPixelSpan pixels, int width, int height,
                                           int bytesPerPixel, std::uint32_t key,
                                           std::uint32_t comparedBits);

    int width() const { return width_; }
    int height() const { return height_; }
    int bytesPerPixel() const { return bytesPerPixel_; }
    std::uint32_t key() const { return key_; }
    std::uint32_t comparedBits() const { return comparedBits_; }
    // The opaque pixels per run over the whole surface, rounded down (0 without runs).
    int averageRunLength() const { return averageRunLength_; }
    // Every row's runs, row after row, left to right within a row.
    const OpaqueRun* runs() const { return runs_.data(); }
    // Row r's runs are runs()[rowFirst()[r]] up to runs()[rowFirst()[r + 1]]: height + 1
    // entries.
    const std::uint32_t* rowFirst() const { return rowFirst_.data(); }
    // The first run of row that ends right of column (0 <= column < width), found through an
    // index of every kBlockColumns-th column: at most the runs that end within one block are
    // passed over, and none at all when column is a multiple of kBlockColumns (the left edge
    // of a sprite frame in a sheet of 32-pixel frames).
    static constexpr int kBlockColumns = 32;
    const OpaqueRun* FirstRunReaching(int row, int column) const {
        const int blocks = (width_ + kBlockColumns - 1) / kBlockColumns;
        const OpaqueRun* run =
            runs_.data() + blockFirst_[static_cast<std::size_t>(row) * blocks +
                                       static_cast<std::size_t>(column / kBlockColumns)];
        const OpaqueRun* rowEnd = runs_.data() + rowFirst_[static_cast<std::size_t>(row) + 1];
        while (run != rowEnd && run->start + run->length <= column) ++run;
        return run;
    }

private:
    OpaqueRuns() = default;

    int width_ = 0;
    int height_ = 0;
    int bytesPerPixel_ = 0;
    std::uint32_t key_ = 0;
    std::uint32_t comparedBits_ = 0;
    int averageRunLength_ = 0;
    std::vector<OpaqueRun> runs_;
    std::vector<std::uint32_t> rowFirst_;
    // Per row, per block of kBlockColumns columns: the index of the first run that ends right
    // of the block's first column.
    std::vector<std::uint32_t> blockFirst_;
};

// The rectangle of the table's surface that a keyed draw copies: its top-left pixel in the
// surface, and its size. It must lie within the table's surface.
struct RunWindow {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Copies the pixels of the window's opaque runs from source (the window's top-left pixel) to
// dest, row by row; every destination pixel under a key pixel is neither read nor written.
// The result equals CopyPixelsKeyedReference with the table's key, bit for bit, as long as the
// source pixels are the ones the table was built from. A window outside the table's surface
// is refused (false) and nothing is written.
bool CopyOpaqueRuns(const OpaqueRuns& runs, const RunWindow& window, ConstPixelSpan source,
                    PixelSpan dest);

}  // namespace platform
