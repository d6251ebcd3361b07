// SPDX-License-Identifier: MIT
#include "platform/display/pixel_fill.h"

#include "platform/display/pixel_blits.h"
#include "platform/display/pixel_fill_walk.h"
#include "platform/host/processor_features.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {
namespace {

#if defined(__SSE2__)
struct Sse2Lanes {
    using Reg = __m128i;
    static Reg Load(const std::uint8_t* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    }
    static void Store(std::uint8_t* at, Reg value) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), value);
    }
    static void StoreAligned(std::uint8_t* at, Reg value) {
        _mm_store_si128(reinterpret_cast<__m128i*>(at), value);
    }
};
#endif

bool Avx2StepsAvailable() {
#if defined(ZELTO_FILL_AVX2)
    return ProcessorHasAvx2();
#else
    return false;
#endif
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
    switch (stores) {
        case FillStores::k16Bytes:
#if defined(__SSE2__)
            return true;
#else
            return false;
#endif
        case FillStores::k32Bytes:
            return Avx2StepsAvailable();
    }
    return false;
}

bool FillPixelsWithStores(FillStores stores, PixelSpan dest, int width, int height,
                          int bytesPerPixel, std::uint32_t value) {
    if (!FillStoresAvailable(stores)) return false;
    if (!ValidFill(width, height, bytesPerPixel)) return true;
#if defined(ZELTO_FILL_AVX2)
    if (stores == FillStores::k32Bytes) {
        FillThrough(dest, width, height, bytesPerPixel, value, FillRunAvx2);
        return true;
    }
#endif
#if defined(__SSE2__)
    FillThrough(dest, width, height, bytesPerPixel, value, FillRunWith<Sse2Lanes>);
#endif
    return true;
}

void FillPixels(PixelSpan dest, int width, int height, int bytesPerPixel, std::uint32_t value) {
    if (FillPixelsWithStores(FillStores::k32Bytes, dest, width, height, bytesPerPixel, value) ||
        FillPixelsWithStores(FillStores::k16Bytes, dest, width, height, bytesPerPixel, value)) {
        return;
    }
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

}  // namespace platform
