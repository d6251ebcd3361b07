// SPDX-License-Identifier: MIT
#pragma once

// The pixels of block graphics: the file's pixels (8-bit colour indices, 15-, 16-, 24- or
// 32-bit colours) converted into a display's pixel format, and the colour key composed into
// that format. Plain functions over bytes and a locked pixel pointer with its pitch; nothing
// here needs the display service.

#include <cstdint>

#include "platform/host/display_types.h"

namespace cdx {

// The display's pixel format as the block surfaces report it.
struct BlockTargetFormat {
    int BitsPerPixel = 0;
    std::uint32_t RedMask = 0;
    std::uint32_t GreenMask = 0;
    std::uint32_t BlueMask = 0;
};

// One block graphic of the file: width x height pixels of depth bits, rows packed without
// padding. The palette (256 entries) gives the colours of 8-bit pixels.
struct BlockSource {
    const std::uint8_t* Pixels = nullptr;
    int Depth = 0;
    int Width = 0;
    int Height = 0;
    const platform::PALETTEENTRY* Palette = nullptr;
};

// True for the depths a map file's block graphics may have: 8, 15, 16, 24 and 32.
bool IsBlockDepth(int depth);

// The transparent colour (8-bit channels) as a pixel of the target format; on an 8-bit format
// the palette index, on any other format of 8 bits or fewer 0.
std::uint32_t ComposeColorKey(const BlockTargetFormat& target, std::uint32_t red,
                              std::uint32_t green, std::uint32_t blue, std::uint32_t keyIndex);

// Writes the graphic into locked pixels at dest, one row every pitch bytes. On an 8-bit target
// only 8-bit graphics are written (their indices as they are); other depths take the display
// path of dib_blit.h. A target of another size above 8 bits receives nothing. False for a
// depth that is none of the five.
bool ConvertBlockPixels(const BlockSource& source, const BlockTargetFormat& target,
                        std::uint8_t* dest, int pitch);

// Bytes from one row of a 24-bit device-independent bitmap to the next: rows start on 4 bytes.
int DibStride(int width);

// Writes the graphic as a top-down 24-bit bitmap: blue, green, red bytes per pixel, each
// channel brought to 8 bits with zero low bits, a row every stride bytes. False for a depth
// that is none of the five.
bool BlockToDibRows(const BlockSource& source, std::uint8_t* rows, int stride);

}  // namespace cdx
