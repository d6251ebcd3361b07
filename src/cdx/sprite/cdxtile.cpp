// SPDX-License-Identifier: MIT
#include "cdx/sprite/cdxtile.h"

using namespace platform;

namespace cdx {

int CDXTile::Create(CDXScreen* screen, const char* fileName, std::int32_t blockWidth,
                    std::int32_t blockHeight, std::int32_t blockCount, std::int32_t memoryType) {
    if (fileName == nullptr) return 0;
    BlockWidth = blockWidth;
    BlockHeight = blockHeight;
    BlockCount = blockCount;
    return CreateFromFile(screen, fileName, memoryType);
}

bool CDXTile::FrameRect(std::int32_t frame, RECT& rect) const {
    if (BlockWidth < 1) return false;
    // Frames per row are taken as an unsigned 16-bit number: a sheet that holds none (or a
    // multiple of 65536) has no frame layout to divide by.
    const std::uint16_t perRow = static_cast<std::uint16_t>(PixelWidth / BlockWidth);
    if (perRow == 0) return false;
    const std::int64_t left = std::int64_t{frame % perRow} * BlockWidth;
    const std::int64_t top = std::int64_t{frame / perRow} * BlockHeight;
    const std::int64_t right = left + BlockWidth;
    const std::int64_t bottom = top + BlockHeight;
    if (top < INT32_MIN || bottom > INT32_MAX || left < INT32_MIN || right > INT32_MAX) {
        return false;
    }
    rect = RECT{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
    return true;
}

}  // namespace cdx
