// SPDX-License-Identifier: MIT
#include "platform/display/pixel_fill.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/display/pixel_blits.h"

using namespace platform;

namespace {

constexpr int kGuardBytes = 40;
constexpr std::uint8_t kGuard = 0x5A;

// A canvas of rows with guard bytes before the first and after the last, and the rectangle
// starting start bytes into it, so every alignment of the first pixel turns up.
struct Canvas {
    int pitch;
    int start;
    std::vector<std::uint8_t> bytes;

    Canvas(int rowBytes, int padding, int rows, int startOffset)
        : pitch(rowBytes + padding),
          start(kGuardBytes + startOffset),
          bytes(static_cast<std::size_t>(kGuardBytes + startOffset + pitch * rows + kGuardBytes),
                kGuard) {}
    PixelSpan Span() { return PixelSpan{bytes.data() + start, pitch}; }
};

std::vector<FillStores> AvailableStores() {
    std::vector<FillStores> stores;
    for (FillStores each : {FillStores::k16Bytes, FillStores::k32Bytes}) {
        if (FillStoresAvailable(each)) stores.push_back(each);
    }
    return stores;
}

}  // namespace

// Every store width against the per-pixel loop at every pixel size, widths 1 to 70 and a few
// frame-sized ones, first pixels at every alignment, with and without padding. The canvases
// must agree byte for byte, guards and padding included, and the padding and guards must
// still hold what they held before.
TEST(PixelFill, EveryStoreWidthMatchesReferenceAndLeavesPaddingAlone) {
    const auto stores = AvailableStores();
    ASSERT_FALSE(stores.empty());
    std::vector<int> widths;
    for (int width = 1; width <= 70; ++width) widths.push_back(width);
    for (int width : {127, 255, 640, 641}) widths.push_back(width);
    constexpr int kRows = 3;
    for (FillStores store : stores) {
        for (int bytesPerPixel = 1; bytesPerPixel <= 4; ++bytesPerPixel) {
            for (int width : widths) {
                for (int padding : {0, 1, 6, 33}) {
                    for (int start : {0, 1, 2, 3, 5, 16, 31}) {
                        const std::uint32_t value = 0xA1B2C3D4u + width;
                        const int rowBytes = width * bytesPerPixel;
                        Canvas fast(rowBytes, padding, kRows, start);
                        Canvas reference = fast;
                        ASSERT_TRUE(FillPixelsWithStores(store, fast.Span(), width, kRows,
                                                         bytesPerPixel, value));
                        FillPixelsReference(reference.Span(), width, kRows, bytesPerPixel, value);
                        ASSERT_EQ(fast.bytes, reference.bytes)
                            << static_cast<int>(store) << " stores, " << bytesPerPixel
                            << " bytes, width " << width << ", padding " << padding << ", start "
                            << start;
                        for (std::size_t i = 0; i < fast.bytes.size(); ++i) {
                            const std::ptrdiff_t inside =
                                static_cast<std::ptrdiff_t>(i) - fast.start;
                            const bool written = inside >= 0 && inside < fast.pitch * kRows &&
                                                 inside % fast.pitch < rowBytes;
                            if (!written) {
                                ASSERT_EQ(fast.bytes[i], kGuard) << "byte " << i;
                            }
                        }
                    }
                }
            }
        }
    }
}

TEST(PixelFill, FillPixelsTakesAFastPathAndKeepsTheValuesOwnBytesOnly) {
    for (int bytesPerPixel = 1; bytesPerPixel <= 4; ++bytesPerPixel) {
        Canvas fast(37 * bytesPerPixel, 3, 5, 1);
        Canvas reference = fast;
        FillPixels(fast.Span(), 37, 5, bytesPerPixel, 0xFFEEDDCCu);
        FillPixelsReference(reference.Span(), 37, 5, bytesPerPixel, 0xFFEEDDCCu);
        ASSERT_EQ(fast.bytes, reference.bytes) << bytesPerPixel << " bytes";
        // The pixel's own bytes, lowest first; a 3-byte pixel never takes the fourth.
        EXPECT_EQ(fast.bytes[fast.start], 0xCC);
        EXPECT_EQ(fast.bytes[fast.start + bytesPerPixel * 37 - 1],
                  static_cast<std::uint8_t>(0xFFEEDDCCu >> (8 * (bytesPerPixel - 1))));
    }
}

TEST(PixelFill, EmptyRectanglesAndUnknownPixelSizesLeaveMemoryUntouched) {
    for (auto fill : {FillPixels, FillPixelsReference}) {
        Canvas canvas(16, 0, 2, 0);
        const auto before = canvas.bytes;
        for (int bytesPerPixel : {-1, 0, 5, 8}) fill(canvas.Span(), 4, 2, bytesPerPixel, 7);
        for (int width : {0, -3}) fill(canvas.Span(), width, 2, 2, 7);
        for (int height : {0, -1}) fill(canvas.Span(), 4, height, 2, 7);
        EXPECT_EQ(canvas.bytes, before);
    }
    for (FillStores store : AvailableStores()) {
        Canvas canvas(16, 0, 2, 0);
        const auto before = canvas.bytes;
        EXPECT_TRUE(FillPixelsWithStores(store, canvas.Span(), 4, 2, 9, 7));
        EXPECT_EQ(canvas.bytes, before);
    }
}
