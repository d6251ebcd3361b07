// The vector colour-keyed copy against the plain per-pixel loop, bit for bit.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "pixel_blits.h"

using namespace platform;

TEST(KeyedCopy, MatchesThePlainLoopForEveryPixelSizeWidthAndAlignment) {
    std::mt19937 random(2024);
    constexpr int kPitch = 300;
    constexpr int kRows = 5;
    for (int bytesPerPixel = 1; bytesPerPixel <= 4; ++bytesPerPixel) {
        for (int width = 0; width <= 70; ++width) {
            for (int offset = 0; offset < 3; ++offset) {
                // Few distinct values, so the key turns up in runs and alone.
                std::vector<std::uint8_t> source(kPitch * kRows);
                for (auto& byte : source) byte = static_cast<std::uint8_t>(random() % 3);
                std::vector<std::uint8_t> dest(kPitch * kRows);
                for (auto& byte : dest) byte = static_cast<std::uint8_t>(random());
                std::vector<std::uint8_t> expected = dest;
                // Bits above the pixel's size are not part of the key.
                const std::uint32_t key = 0xABCDEF00u | (random() % 2 ? 0x00 : 0x01);
                const ConstPixelSpan from{source.data() + offset, kPitch};
                CopyPixelsKeyedReference(from, PixelSpan{expected.data() + offset * 2, kPitch},
                                         width, kRows, bytesPerPixel, key);
                CopyPixelsKeyed(from, PixelSpan{dest.data() + offset * 2, kPitch}, width, kRows,
                                bytesPerPixel, key);
                ASSERT_EQ(dest, expected)
                    << bytesPerPixel << " bytes, width " << width << ", offset " << offset;
            }
        }
    }
}
