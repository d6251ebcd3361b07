// SPDX-License-Identifier: MIT
// The fast pixel paths of the display service against their plain per-pixel loops, bit for
// bit: the vector colour-keyed copy and the typed stretch; and the processor level that chooses
// among the paths.

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "platform/display/pixel_blits.h"
#include "platform/display/present_convert.h"
#include "platform/host/processor_features.h"

using namespace platform;

TEST(ProcessorLevels, ACapLowersTheLevelInUseButNeverRaisesIt) {
    for (const ProcessorLevel level :
         {ProcessorLevel::kSse2, ProcessorLevel::kAvx2, ProcessorLevel::kAvx512}) {
        EXPECT_EQ(ParseProcessorLevel(ProcessorLevelName(level)), level);
    }
    for (const char* name : {"", "AVX2", "avx", "avx512f", "sse2 ", "none"}) {
        EXPECT_FALSE(ParseProcessorLevel(name)) << name;
    }
    const ProcessorLevel usable = ProcessorLevelInUse();
    EXPECT_LE(usable, ProcessorLevelOffered());
    CapProcessorLevel(ProcessorLevel::kSse2);
    EXPECT_EQ(ProcessorLevelInUse(), ProcessorLevel::kSse2);
    CapProcessorLevel(ProcessorLevel::kAvx512);
    EXPECT_EQ(ProcessorLevelInUse(), usable);
    CapProcessorLevel(std::nullopt);
    EXPECT_EQ(ProcessorLevelInUse(), usable);
}

#if defined(__x86_64__)
// Every level's result equals the plain loop's, so a build that left its wider walks out, or
// a dispatch that never took them, would pass every bit-for-bit test: the wide steps must be
// there exactly at their level.
TEST(ProcessorLevels, AnX86BuildTakesItsWideStepsAtTheirLevelAlone) {
    const bool wide = ProcessorLevelInUse() >= ProcessorLevel::kAvx2;
    EXPECT_EQ(FillStoresAvailable(FillStores::k32Bytes), wide);
    EXPECT_EQ(ConversionStepsAvailable(ConversionSteps::kAvx2), wide);
    EXPECT_TRUE(FillStoresAvailable(FillStores::k16Bytes));
    EXPECT_TRUE(ConversionStepsAvailable(ConversionSteps::kSse2));
}
#endif

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

TEST(Stretch, MatchesThePlainLoopForEverySizeKeyAndMirror) {
    std::mt19937 random(7);
    constexpr int kPitch = 420;
    std::vector<std::uint8_t> source(kPitch * 50);
    for (auto& byte : source) byte = static_cast<std::uint8_t>(random() % 3);
    for (int bytesPerPixel = 1; bytesPerPixel <= 4; ++bytesPerPixel) {
        for (const auto [fromWidth, fromHeight, toWidth, toHeight] : {std::array{32, 32, 48, 48},
                                                                      {32, 32, 16, 8},
                                                                      {33, 20, 49, 30},
                                                                      {7, 3, 100, 1},
                                                                      {100, 40, 3, 7},
                                                                      {1, 1, 9, 9}}) {
            for (int variant = 0; variant < 8; ++variant) {
                StretchOptions options;
                if (variant & 1) options.key = 0x5A5A0000u | (random() % 2);
                options.mirrorLeftRight = (variant & 2) != 0;
                options.mirrorUpDown = (variant & 4) != 0;
                std::vector<std::uint8_t> dest(kPitch * 50);
                for (auto& byte : dest) byte = static_cast<std::uint8_t>(random());
                std::vector<std::uint8_t> expected = dest;
                const ConstPixelSpan from{source.data() + 1, kPitch};
                StretchPixelsReference(from, fromWidth, fromHeight, {expected.data() + 3, kPitch},
                                       toWidth, toHeight, bytesPerPixel, options);
                StretchPixels(from, fromWidth, fromHeight, {dest.data() + 3, kPitch}, toWidth,
                              toHeight, bytesPerPixel, options);
                ASSERT_EQ(dest, expected)
                    << bytesPerPixel << " bytes, " << fromWidth << "x" << fromHeight << " to "
                    << toWidth << "x" << toHeight << ", variant " << variant;
            }
        }
    }
}
