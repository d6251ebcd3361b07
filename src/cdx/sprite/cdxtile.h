// SPDX-License-Identifier: MIT
#pragma once

// CDXTile: a sprite sheet, one picture cut into equal frames numbered row by row from the
// top-left corner.

#include <cstdint>

#include "cdx/surface/cdxsurface.h"

namespace cdx {

class CDXTile : public CDXSurface {
public:
    // The surface's defaults; the block values start at zero.
    CDXTile() = default;
    ~CDXTile() override = default;

    // Loads the sheet from the picture fileName; a null name returns 0 and stores nothing.
    // 1 when loaded, 0 otherwise: a sheet that failed has no platform surface and draws
    // nothing.
    int Create(CDXScreen* screen, const char* fileName, std::int32_t blockWidth,
               std::int32_t blockHeight, std::int32_t blockCount, std::int32_t memoryType);

    // The rectangle frame covers: frames run left to right, rows of frames top to bottom.
    // False for a sheet narrower than one frame (no frame per row) or a frame whose rectangle
    // lies beyond the 32-bit range.
    bool FrameRect(std::int32_t frame, platform::RECT& rect) const;

    std::int32_t BlockWidth = 0;
    std::int32_t BlockHeight = 0;
    // Stored, not consulted: frame numbers are not checked against it.
    std::int32_t BlockCount = 0;
};

}  // namespace cdx
