// SPDX-License-Identifier: MIT
#include "map/fmpmap.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "map/block_pixels.h"
#include "map/view_walk.h"
#include "platform/display/dib_blit.h"
#include "platform/display/display_surface_lock.h"
#include "platform/host/regular_file.h"

using namespace platform;

namespace cdx {

namespace {

// The whole file in memory; LastError's code when it cannot be had. Anything but a regular file
// (a folder, a FIFO, a device) cannot be opened as a map.
std::int32_t ReadWholeFile(const char* fileName, std::vector<std::uint8_t>& bytes) {
    switch (ReadRegularFile(fileName, UINT64_MAX, bytes)) {
        case FileReadResult::Read:
            return kFmpNoError;
        case FileReadResult::CannotOpen:
            return kFmpCannotOpen;
        case FileReadResult::TooLarge:
        case FileReadResult::OutOfMemory:
            return kFmpOutOfMemory;
        case FileReadResult::ReadFailed:
            break;
    }
    return kFmpBadFile;
}

BlockTargetFormat TargetFormatOf(const DDPIXELFORMAT& format) {
    return BlockTargetFormat{static_cast<int>(format.dwRGBBitCount), format.dwRBitMask,
                             format.dwGBitMask, format.dwBBitMask};
}

// Cuts a copy to its block and to the destination surface, which the fast copy does not do
// itself. False when nothing of it is left.
bool ClipCopy(BlockCopy& copy, std::int32_t blockWidth, std::int32_t blockHeight,
              std::int32_t destWidth, std::int32_t destHeight) {
    auto clipAxis = [](std::int32_t& low, std::int32_t& high, std::int32_t& at,
                       std::int32_t sourceLimit, std::int32_t destLimit) {
        const std::int32_t cutBefore = std::max({0, -low, -at});
        low += cutBefore;
        at += cutBefore;
        high = std::min({high, sourceLimit, low + (destLimit - at)});
        return low < high;
    };
    return clipAxis(copy.Left, copy.Right, copy.X, blockWidth, destWidth) &&
           clipAxis(copy.Top, copy.Bottom, copy.Y, blockHeight, destHeight);
}

// The fast copy's refusals of its source, for a copy made straight into the locked
// destination: a missing, lost or locked block, one of another depth, or one too small for the
// part is not copied. The destination counts as locked only by others until lockedHere.
bool CopyableBlock(const DisplaySurface* source, const DisplaySurface& target, bool lockedHere,
                   const BlockCopy& part) {
    if (source == nullptr || source->IsLost() != DD_OK) return false;
    if (source->isLocked() && !(lockedHere && source == &target)) return false;
    return source->format().dwRGBBitCount == target.format().dwRGBBitCount &&
           part.Right <= source->width() && part.Bottom <= source->height();
}

// One row of a block part. Block rows are short (64 bytes for 32 pixels of 16 bits), so they
// are moved 16 bytes at a time in moves the compiler keeps inline, the last move ending at the
// row's end and overlapping the one before when the row is no multiple of 16, rather than
// through a library call per row. Rows under 16 bytes are copied as they are.
void CopyRow(std::uint8_t* to, const std::uint8_t* from, std::size_t bytes) {
    constexpr std::size_t kMove = 16;
    if (bytes < kMove) {
        std::memcpy(to, from, bytes);
        return;
    }
    for (std::size_t at = 0; at + kMove < bytes; at += kMove) {
        std::memcpy(to + at, from + at, kMove);
    }
    std::memcpy(to + bytes - kMove, from + bytes - kMove, kMove);
}

// Copies the part of a block to its place in the locked destination, row by row. A block that
// is the destination itself is read whole before anything is written, as the fast copy does.
void CopyBlockPart(const DisplaySurface& source, const BlockCopy& part, std::uint8_t* destPixels,
                   std::int32_t destPitch, int bytesPerPixel) {
    const std::size_t rowBytes = static_cast<std::size_t>(part.Right - part.Left) * bytesPerPixel;
    const int rows = part.Bottom - part.Top;
    std::ptrdiff_t fromPitch = source.pitch();
    const std::uint8_t* from = source.pixels() + part.Top * fromPitch + part.Left * bytesPerPixel;
    std::vector<std::uint8_t> snapshot;
    if (source.pixels() == destPixels) {
        snapshot.resize(rowBytes * static_cast<std::size_t>(rows));
        for (int row = 0; row < rows; ++row) {
            std::memcpy(snapshot.data() + row * rowBytes, from + row * fromPitch, rowBytes);
        }
        from = snapshot.data();
        fromPitch = static_cast<std::ptrdiff_t>(rowBytes);
    }
    std::uint8_t* to = destPixels + static_cast<std::ptrdiff_t>(part.Y) * destPitch +
                       static_cast<std::ptrdiff_t>(part.X) * bytesPerPixel;
    for (int row = 0; row < rows; ++row, from += fromPitch, to += destPitch) {
        CopyRow(to, from, rowBytes);
    }
}

}  // namespace

void FmpMap::SetTransparentColor(std::uint32_t rgb) {
    KeyIndex = rgb & 0xFF;
    KeyBlue = rgb & 0xFF;
    KeyGreen = (rgb >> 8) & 0xFF;
    KeyRed = (rgb >> 16) & 0xFF;
}

std::int32_t FmpMap::Create(CDXScreen* screen, const char* fileName, std::int32_t viewX,
                            std::int32_t viewY, std::int32_t viewWidth, std::int32_t viewHeight) {
    ViewX = viewX;
    ViewY = viewY;
    ViewWidth = viewWidth;
    ViewHeight = viewHeight;
    ScrollX = 0;
    ScrollY = 0;
    if (Load(fileName, screen != nullptr ? screen->DirectDraw.get() : nullptr) != 0) return -1;

    const FmpHeader& header = File.Header;
    const std::int32_t mapPixelWidth = std::int32_t{header.MapWidth} * header.BlockWidth;
    const std::int32_t mapPixelHeight = std::int32_t{header.MapHeight} * header.BlockHeight;
    if (mapPixelWidth < ViewWidth) ViewWidth = mapPixelWidth;
    if (mapPixelHeight < ViewHeight) ViewHeight = mapPixelHeight;
    // The drawing walks a border of partial blocks round an inside of whole ones, so the view
    // is never narrower than three blocks, even over a smaller map.
    if (ViewWidth < 3 * header.BlockWidth) ViewWidth = 3 * header.BlockWidth;
    if (ViewHeight < 3 * header.BlockHeight) ViewHeight = 3 * header.BlockHeight;
    screen->SetPaletteEntries(0, 256, File.Palette.data());
    BlockWidth = header.BlockWidth;
    BlockHeight = header.BlockHeight;
    return 0;
}

std::int32_t FmpMap::Load(const char* fileName, DisplayDevice* display) {
    Unload();
    LastError = kFmpNoError;
    std::vector<std::uint8_t> bytes;
    LastError = ReadWholeFile(fileName, bytes);
    if (LastError != kFmpNoError) return -1;

    FmpFile parsed;
    LastError = parsed.Parse(bytes);
    if (LastError == kFmpNoError) LastError = parsed.Resolve();
    if (LastError != kFmpNoError) return -1;
    File = std::move(parsed);
    return Build(display);
}

std::int32_t FmpMap::Build(DisplayDevice* display) {
    if (display == nullptr || MakeBlockSurfaces(display) != 0 || CopyBlockGraphics() != 0) {
        Unload();
        return -1;
    }
    return 0;
}

std::int32_t FmpMap::MakeBlockSurfaces(DisplayDevice* display) {
    std::uint32_t key = 0;
    for (int g = 0; g < File.Header.BlockGraphicCount; ++g) {
        DDSURFACEDESC2 desc;
        desc.dwSize = kSurfaceDescSize;
        desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
        desc.dwWidth = static_cast<DWORD>(File.Header.BlockWidth);
        desc.dwHeight = static_cast<DWORD>(File.Header.BlockHeight);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        if (display->CreateSurface(&desc, &BlockSurfaces[g]) != DD_OK || !BlockSurfaces[g]) {
            BlockSurfaces[g].reset();
            return -1;
        }
        if (g == 0) {
            DDPIXELFORMAT format;
            if (BlockSurfaces[0]->GetPixelFormat(&format) != DD_OK) return -1;
            key = ComposeColorKey(TargetFormatOf(format), KeyRed, KeyGreen, KeyBlue, KeyIndex);
        }
        const DDCOLORKEY colorKey{key, key};
        BlockSurfaces[g]->SetColorKey(DDCKEY_SRCBLT, &colorKey);
    }
    return 0;
}

int FmpMap::BlockSurfaceCount() const {
    int count = 0;
    while (count < kBlockSurfaceEntries && BlockSurfaces[count]) ++count;
    return count;
}

std::int32_t FmpMap::CopyBlockGraphics() {
    const int count = BlockSurfaceCount();
    if (count == 0) return -1;
    DDPIXELFORMAT format;
    if (BlockSurfaces[0]->GetPixelFormat(&format) != DD_OK) return -1;
    const BlockTargetFormat target = TargetFormatOf(format);
    if (target.BitsPerPixel == 8 && File.Header.BlockDepth != 8) ConvertThroughPalette();

    for (int g = 0; g < count; ++g) {
        const DisplaySurfaceLock lock(*BlockSurfaces[g], DDLOCK_WAIT | DDLOCK_WRITEONLY);
        if (!lock.locked()) return -1;
        const BlockSource source{File.GraphicPixels(g), File.Header.BlockDepth,
                                 File.Header.BlockWidth, File.Header.BlockHeight,
                                 File.Palette.data()};
        if (!ConvertBlockPixels(source, target, lock.pixels(), lock.desc().lPitch)) return -1;
    }
    return 0;
}

void FmpMap::ConvertThroughPalette() {
    // Colours go to the nearest entry of the map's own palette: Create hands that palette to
    // the screen right after the load, so it is the one the blocks are shown with.
    const int width = File.Header.BlockWidth;
    const int height = File.Header.BlockHeight;
    const int stride = DibStride(width);
    std::vector<std::uint8_t> rows;
    try {
        rows.resize(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    } catch (const std::bad_alloc&) {
        return;  // the blocks stay unconverted; the build goes on as with a failed bitmap
    }
    for (int g = 0; g < BlockSurfaceCount(); ++g) {
        const BlockSource source{File.GraphicPixels(g), File.Header.BlockDepth, width, height,
                                 File.Palette.data()};
        if (!BlockToDibRows(source, rows.data(), stride)) return;
        const DibImage image{rows.data(), width, height, stride};
        if (BlitDibToSurface(*BlockSurfaces[g], image, File.Palette.data()) != DD_OK) return;
    }
}

std::int32_t FmpMap::Restore() {
    const int count = BlockSurfaceCount();
    for (int g = 0; g < count; ++g) {
        if (BlockSurfaces[g]->Restore() != DD_OK) return -1;
    }
    return CopyBlockGraphics();
}

bool FmpMap::IsLost() const {
    const int count = BlockSurfaceCount();
    for (int g = 0; g < count; ++g) {
        if (BlockSurfaces[g]->IsLost() == platform::DDERR_SURFACELOST) return true;
    }
    return false;
}

void FmpMap::Unload() {
    File.ReleaseBuffers();
    for (auto& surface : BlockSurfaces) {
        if (!surface) break;
        surface.reset();
    }
}

void FmpMap::SetScrollPosition(std::int32_t x, std::int32_t y) {
    // The map's size in pixels wraps at 16 bits, as the header's fields are 16-bit.
    const FmpHeader& header = File.Header;
    const auto pixelWidth = static_cast<std::uint16_t>(header.MapWidth * header.BlockWidth);
    const auto pixelHeight = static_cast<std::uint16_t>(header.MapHeight * header.BlockHeight);
    const std::int64_t largestX = std::int64_t{pixelWidth} - ViewWidth - 1;
    const std::int64_t largestY = std::int64_t{pixelHeight} - ViewHeight - 1;
    ScrollX =
        static_cast<std::int32_t>(std::max<std::int64_t>(std::min<std::int64_t>(x, largestX), 0));
    ScrollY =
        static_cast<std::int32_t>(std::max<std::int64_t>(std::min<std::int64_t>(y, largestY), 0));
}

// Flattened: every step of the walk and of copy is inlined into this one function, because
// each block's copy is short and a call per block would be a sizeable share of the draw.
template <typename CopyOp>
[[gnu::flatten]] bool FmpMap::WalkVisibleCopies(const DisplaySurface& target, CopyOp copy) const {
    const std::int32_t firstColumn = ScrollX / BlockWidth;
    const std::int32_t firstRow = ScrollY / BlockHeight;
    const ViewGeometry view{BlockWidth, BlockHeight, ViewX,   ViewY,
                            ViewWidth,  ViewHeight,  ScrollX, ScrollY};
    return WalkView(view, [&](BlockCopy part) {
        if (!ClipCopy(part, BlockWidth, BlockHeight, target.width(), target.height())) return true;
        // Cells beyond the map (a map smaller than the three-block view) show graphic 0.
        const FmpBlock* block = File.BlockAt(firstColumn + part.Column, firstRow + part.Row);
        return copy(part, BlockSurfaces[block != nullptr ? block->BaseGraphic : 0].get());
    });
}

bool FmpMap::ReadyToDraw(const CDXSurface* dest) const {
    return dest != nullptr && dest->Surface && BlockSurfaces[0] && BlockWidth > 0 &&
           BlockHeight > 0;
}

std::int32_t FmpMap::Draw(CDXSurface* dest) {
    if (!ReadyToDraw(dest)) return -1;
    DisplaySurface& target = *dest->Surface;
    // The destination is locked at the first copy that writes, so a draw that writes nothing
    // leaves it as untouched as the block-by-block copies would. A destination the display
    // service will not lock (lost, busy, holding a device context) is drawn block by block,
    // so that the service answers for each copy as for any other: refused, or made.
    std::optional<DisplaySurfaceLock> lock;
    const bool drawn = WalkVisibleCopies(target, [&](const BlockCopy& part,
                                                     const DisplaySurface* source) {
        if (lock && !lock->locked()) return false;
        if (!CopyableBlock(source, target, lock.has_value(), part)) return false;
        if (!lock) {
            lock.emplace(target, DDLOCK_WAIT | DDLOCK_WRITEONLY);
            if (!lock->locked()) return false;
        }
        CopyBlockPart(*source, part, lock->pixels(), lock->desc().lPitch, target.bytesPerPixel());
        return true;
    });
    if (lock && !lock->locked()) return DrawBlockByBlock(dest);
    return drawn ? 0 : -1;
}

std::int32_t FmpMap::DrawBlockByBlock(CDXSurface* dest) {
    if (!ReadyToDraw(dest)) return -1;
    DisplaySurface& target = *dest->Surface;
    const bool drawn =
        WalkVisibleCopies(target, [&](const BlockCopy& part, DisplaySurface* source) {
            const RECT from{part.Left, part.Top, part.Right, part.Bottom};
            return target.BltFast(part.X, part.Y, source, &from, DDBLTFAST_WAIT) == DD_OK;
        });
    return drawn ? 0 : -1;
}

}  // namespace cdx
