// SPDX-License-Identifier: MIT
#pragma once

// CDXSprite: something drawn from a sprite sheet: a position, a velocity, a current frame, the
// parameters of the blit modes, and the sheet it refers to (owned only when OwnsTile is set).

#include <cstdint>

#include "cdx/sprite/cdxblitmode.h"
#include "cdx/sprite/cdxtile.h"

namespace cdx {

class CDXSprite {
public:
    CDXSprite() = default;
    virtual ~CDXSprite();
    CDXSprite(const CDXSprite&) = delete;
    CDXSprite& operator=(const CDXSprite&) = delete;

    // Puts the sprite on tile at (0, 0), frame 0, at rest; a null tile returns 0 and changes
    // nothing. The scale, shadow offsets and stretch size keep their values.
    int Create(CDXTile* tile);

    // 1 when the two sprites' frame boxes touch or overlap, 0 otherwise and for the sprite
    // itself.
    std::int32_t SpriteHit(const CDXSprite* other) const;

    // Draws the current frame onto dest at the position less the scroll, in the given mode;
    // the shadow modes move it by less the shadow offset. Numbers without a routine draw
    // nothing.
    void Draw(CDXSurface* dest, std::int32_t scrollX, std::int32_t scrollY, CDXBlitMode mode);

    std::int32_t PosX = 0;
    std::int32_t PosY = 0;
    std::int32_t VelX = 0;
    std::int32_t VelY = 0;
    std::int32_t Frame = 0;
    float ScaleFactor = 1.0f;
    std::int32_t ShadowOffsetX = 0;
    std::int32_t ShadowOffsetY = 0;
    std::uint16_t ShadowValue = 0;   // 0..256
    std::uint16_t Translucency = 0;  // 0..256
    std::int32_t OwnsTile = 0;
    // The resized modes draw nothing until a caller sets a size.
    std::uint16_t StretchHeight = 0;
    std::uint16_t StretchWidth = 0;
    CDXTile* Tile = nullptr;
};

}  // namespace cdx
