// SPDX-License-Identifier: MIT
#pragma once

// FmpMap: the tile map. It reads a map file (FmpFile), makes one surface in the display's
// format per block graphic, and draws layer 0 of the map into a view rectangle of a surface at
// a scroll position: the destination locked once and the block rows copied into it.

#include <array>
#include <cstdint>
#include <memory>

#include "cdx/surface/cdxscreen.h"
#include "cdx/surface/cdxsurface.h"
#include "map/fmpfile.h"
#include "platform/display/display_device.h"
#include "platform/display/display_surface.h"

namespace cdx {

class FmpMap {
public:
    static constexpr int kBlockSurfaceEntries = 1024;

    FmpMap() = default;
    FmpMap(const FmpMap&) = delete;
    FmpMap& operator=(const FmpMap&) = delete;

    // rgb is 0x00RRGGBB; its low byte is also the palette index used as key on 8-bit displays.
    // Takes effect on the block surfaces of the next Create.
    void SetTransparentColor(std::uint32_t rgb);

    // Loads the file, fits the view to the map (at least three blocks each way) and hands the
    // map's palette to the screen. 0 on success, -1 on failure (LastError tells why).
    std::int32_t Create(CDXScreen* screen, const char* fileName, std::int32_t viewX,
                        std::int32_t viewY, std::int32_t viewWidth, std::int32_t viewHeight);
    // Reads the file and builds the block surfaces on display. 0 or -1; sets LastError. A
    // refused file leaves the map empty.
    std::int32_t Load(const char* fileName, platform::DisplayDevice* display);
    void Unload();
    void Destroy() { Unload(); }

    // Sets the scroll position, held between 0 and one pixel short of the map's far edge.
    void SetScrollPosition(std::int32_t x, std::int32_t y);
    // Fills the view on dest with layer 0 at the scroll position. 0, or -1 when the copy of an
    // inner block failed (or nothing is loaded); the caller then calls Restore.
    std::int32_t Draw(CDXSurface* dest);
    // The same view with one display-service fast copy per block, each checked by the service
    // on its own: what Draw falls back on when it cannot lock dest, and the reference its
    // results are held to. Same pixels, same result.
    std::int32_t DrawBlockByBlock(CDXSurface* dest);
    // Gives the block surfaces their memory back and fills them again. 0 or -1.
    std::int32_t Restore();
    // True when the display took any block surface's memory away.
    bool IsLost() const;

    std::int32_t ViewWidth = 320;
    std::int32_t ViewHeight = 200;
    std::int32_t ViewX = 0;
    std::int32_t ViewY = 0;
    std::int32_t BlockWidth = 0;
    std::int32_t BlockHeight = 0;
    std::uint32_t KeyIndex = 0;
    std::uint32_t KeyRed = 255;
    std::uint32_t KeyGreen = 0;
    std::uint32_t KeyBlue = 255;
    std::int32_t LastError = kFmpNoError;
    // The file's header, palette, chunk buffers and resolved records.
    FmpFile File;
    // Block graphic g is entry g; the entry after the last graphic stays empty.
    std::array<std::shared_ptr<platform::DisplaySurface>, kBlockSurfaceEntries> BlockSurfaces;
    std::int32_t ScrollX = 0;
    std::int32_t ScrollY = 0;

private:
    bool ReadyToDraw(const CDXSurface* dest) const;
    // Calls copy(const BlockCopy&, DisplaySurface* block) for every copy of the view's walk
    // that is left after cutting it to target, with the block surface of its cell; answers as
    // WalkView does.
    template <typename CopyOp>
    bool WalkVisibleCopies(const platform::DisplaySurface& target, CopyOp copy) const;
    std::int32_t Build(platform::DisplayDevice* display);
    std::int32_t MakeBlockSurfaces(platform::DisplayDevice* display);
    std::int32_t CopyBlockGraphics();
    void ConvertThroughPalette();
    int BlockSurfaceCount() const;
};

}  // namespace cdx
