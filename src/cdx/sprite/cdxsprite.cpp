// SPDX-License-Identifier: MIT
#include "cdx/sprite/cdxsprite.h"

using namespace platform;

namespace cdx {

namespace {

bool InInt32Range(std::int64_t value) {
    return value >= INT32_MIN && value <= INT32_MAX;
}

}  // namespace

CDXSprite::~CDXSprite() {
    if (OwnsTile != 0) delete Tile;
    Tile = nullptr;
}

int CDXSprite::Create(CDXTile* tile) {
    if (tile == nullptr) return 0;
    PosX = 0;
    PosY = 0;
    VelX = 0;
    VelY = 0;
    Frame = 0;
    ShadowValue = 0;
    Translucency = 0;
    OwnsTile = 0;
    Tile = tile;
    return 1;
}

std::int32_t CDXSprite::SpriteHit(const CDXSprite* other) const {
    if (other == this || other == nullptr || Tile == nullptr || other->Tile == nullptr) return 0;
    // 64-bit sums: a far-off position plus a block size must not wrap into a hit.
    const std::int64_t ownRight = std::int64_t{PosX} + Tile->BlockWidth;
    const std::int64_t ownBottom = std::int64_t{PosY} + Tile->BlockHeight;
    const std::int64_t otherRight = std::int64_t{other->PosX} + other->Tile->BlockWidth;
    const std::int64_t otherBottom = std::int64_t{other->PosY} + other->Tile->BlockHeight;
    if (PosY > otherBottom) return 0;
    if (ownBottom < other->PosY) return 0;
    if (ownRight < other->PosX) return 0;
    return PosX <= otherRight ? 1 : 0;
}

void CDXSprite::Draw(CDXSurface* dest, std::int32_t scrollX, std::int32_t scrollY,
                     CDXBlitMode mode) {
    RECT frame;
    if (Tile == nullptr || dest == nullptr || !Tile->FrameRect(Frame, frame)) return;
    const std::int64_t wideX = std::int64_t{PosX} - scrollX;
    const std::int64_t wideY = std::int64_t{PosY} - scrollY;
    // A position the scroll carries out of the 32-bit range is nowhere on any surface.
    if (!InInt32Range(wideX) || !InInt32Range(wideY)) return;
    const auto x = static_cast<std::int32_t>(wideX);
    const auto y = static_cast<std::int32_t>(wideY);
    // The shadow modes move the frame by the shadow offset, which may carry it out of range too.
    const std::int64_t wideShadowX = wideX - ShadowOffsetX;
    const std::int64_t wideShadowY = wideY - ShadowOffsetY;
    const bool shadowPlaced = InInt32Range(wideShadowX) && InInt32Range(wideShadowY);
    const auto shadowX = static_cast<std::int32_t>(wideShadowX);
    const auto shadowY = static_cast<std::int32_t>(wideShadowY);
    switch (mode) {
        case CDXBlitMode::Copy:
            Tile->DrawCopy(dest, x, y, frame);
            break;
        case CDXBlitMode::CopyKeyed:
            Tile->DrawCopyKeyed(dest, x, y, frame);
            break;
        case CDXBlitMode::Translucent:
            Tile->DrawTranslucent(dest, x, y, frame, Translucency);
            break;
        case CDXBlitMode::TranslucentKeyed:
            Tile->DrawTranslucentKeyed(dest, x, y, frame, Translucency);
            break;
        case CDXBlitMode::Average:
            Tile->DrawAverage(dest, x, y, frame);
            break;
        case CDXBlitMode::AverageKeyed:
            Tile->DrawAverageKeyed(dest, x, y, frame);
            break;
        case CDXBlitMode::Scaled:
            Tile->DrawScaled(dest, x, y, frame, ScaleFactor);
            break;
        case CDXBlitMode::ScaledKeyed:
            Tile->DrawScaledKeyed(dest, x, y, frame, ScaleFactor);
            break;
        case CDXBlitMode::Resized:
            Tile->DrawResized(dest, x, y, frame, StretchWidth, StretchHeight);
            break;
        case CDXBlitMode::ResizedKeyed:
            Tile->DrawResizedKeyed(dest, x, y, frame, StretchWidth, StretchHeight);
            break;
        case CDXBlitMode::Shadow:
            if (shadowPlaced) Tile->DrawShadow(dest, shadowX, shadowY, frame, ShadowValue);
            break;
        case CDXBlitMode::ShadowKeyed:
            if (shadowPlaced) Tile->DrawShadowKeyed(dest, shadowX, shadowY, frame, ShadowValue);
            break;
        case CDXBlitMode::HalfShadow:
            if (shadowPlaced) Tile->DrawHalfShadow(dest, shadowX, shadowY, frame);
            break;
        case CDXBlitMode::HalfShadowKeyed:
            if (shadowPlaced) Tile->DrawHalfShadowKeyed(dest, shadowX, shadowY, frame);
            break;
        case CDXBlitMode::MirrorX:
            Tile->DrawMirrorX(dest, x, y, frame);
            break;
        case CDXBlitMode::MirrorXKeyed:
            Tile->DrawMirrorXKeyed(dest, x, y, frame);
            break;
        case CDXBlitMode::MirrorY:
            Tile->DrawMirrorY(dest, x, y, frame);
            break;
        case CDXBlitMode::MirrorYKeyed:
            Tile->DrawMirrorYKeyed(dest, x, y, frame);
            break;
        case CDXBlitMode::AlphaMapKeyed:
            Tile->DrawAlphaMap(dest, x, y, frame);
            break;
        default:
            // Every number without a routine draws nothing.
            break;
    }
}

}  // namespace cdx
