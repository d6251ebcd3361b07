// SPDX-License-Identifier: MIT
#include "platform/display/pixel_fill.h"

#include "platform/display/pixel_blits.h"
#include "platform/display/pixel_fill_walk.h"
#include "platform/host/processor_features.h"

namespace platform {
namespace {

// The widest stores of the level in use, where this build compiled them.
FillStores WidestStores() {
    switch (ProcessorLevelInUse()) {
#if defined(ZELTO_WIDER_STEPS)
        case ProcessorLevel::kAvx512:
        case ProcessorLevel::kAvx2:
            return FillStores::k32Bytes;
#endif
        default:
            return FillStores::k16Bytes;
    }
}

bool ValidFill(int width, int height, int bytesPerPixel) {
    return width > 0 && height > 0 && bytesPerPixel >= 1 && bytesPerPixel <= 4;
}

// Fills through the given walk, with the pattern built once for all rows.
template <class Walk>
void FillThrough(PixelSpan dest, int width, int height, int bytesPerPixel, std::uint32_t value,
                 Walk walk) {
    std::uint8_t pattern[kFillPatternBytes];
    for (std::size_t i = 0; i < kFillPatternBytes; ++i) {
        pattern[i] = static_cast<std::uint8_t>(value >> (8 * (i % bytesPerPixel)));
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
    FillRun run{dest.first, dest.pitch, rowBytes,
                height,     pattern,    static_cast<std::size_t>(bytesPerPixel)};
    // Rows without padding between them are one run: a row ends on a whole pixel, so the
    // pattern carries on into the next.
    if (dest.pitch > 0 && static_cast<std::size_t>(dest.pitch) == rowBytes) {
        run.rowBytes = rowBytes * static_cast<std::size_t>(height);
        run.rows = 1;
    }
    walk(run);
}

}  // namespace

bool FillStoresAvailable(FillStores stores) {
#if defined(__SSE2__)
    return stores <= WidestStores();
#else
    return false;
#endif
}

bool FillPixelsWithStores(FillStores stores, PixelSpan dest, int width, int height,
                          int bytesPerPixel, std::uint32_t value) {
    if (!FillStoresAvailable(stores)) return false;
    if (!ValidFill(width, height, bytesPerPixel)) return true;
    switch (stores) {
#if defined(ZELTO_WIDER_STEPS)
        case FillStores::k32Bytes:
            FillThrough(dest, width, height, bytesPerPixel, value, FillRunAvx2);
            break;
#endif
        default:
#if defined(__SSE2__)
            FillThrough(dest, width, height, bytesPerPixel, value, FillRunBaseline);
#endif
            break;
    }
    return true;
}

void FillPixels(PixelSpan dest, int width, int height, int bytesPerPixel, std::uint32_t value) {
    if (FillPixelsWithStores(WidestStores(), dest, width, height, bytesPerPixel, value)) return;
    FillPixelsReference(dest, width, height, bytesPerPixel, value);
}

void FillPixelsReference(PixelSpan dest, int width, int height, int bytesPerPixel,
                         std::uint32_t value) {
    if (!ValidFill(width, height, bytesPerPixel)) return;
    for (int row = 0; row < height; ++row) {
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch;
        for (int column = 0; column < width; ++column) {
            WritePixel(to + column * bytesPerPixel, bytesPerPixel, value);
        }
    }
}

#if defined(__SSE2__)
void FillRunBaseline(const FillRun& run) {
    FillRunWith<Sse2Lanes>(run);
}
#endif

}  // namespace platform
