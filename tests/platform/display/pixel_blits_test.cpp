// SPDX-License-Identifier: MIT
#include "platform/display/pixel_blits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/display/pixel_layout.h"

using namespace platform;

TEST(PixelLayout, MaskPlaceIsLowestBitAndRunLength) {
    EXPECT_EQ(PlaceOfMask(0xF800).shift, 11);
    EXPECT_EQ(PlaceOfMask(0xF800).bits, 5);
    EXPECT_EQ(PlaceOfMask(0x07E0).shift, 5);
    EXPECT_EQ(PlaceOfMask(0x07E0).bits, 6);
    EXPECT_EQ(PlaceOfMask(0x001F).shift, 0);
    EXPECT_EQ(PlaceOfMask(0xFF000000).shift, 24);
    EXPECT_EQ(PlaceOfMask(0xFF000000).bits, 8);
    EXPECT_EQ(PlaceOfMask(0).bits, 0);
}

TEST(PixelBlits, KeyComparesOnlyThePixelsOwnBits) {
    std::uint16_t source[2] = {0x1234, 0x5678};
    std::uint16_t dest[2] = {0, 0};
    // The key's upper bits lie outside a 16-bit pixel and do not stop the match.
    CopyPixelsKeyedReference({reinterpret_cast<std::uint8_t*>(source), 4},
                             {reinterpret_cast<std::uint8_t*>(dest), 4}, 2, 1, 2, 0xFFFF1234u);
    EXPECT_EQ(dest[0], 0);
    EXPECT_EQ(dest[1], 0x5678);
}

TEST(PixelBlits, StretchDoublesAndMirrors) {
    std::uint8_t source[2] = {1, 2};
    std::uint8_t dest[4] = {};
    StretchPixels({source, 2}, 2, 1, {dest, 4}, 4, 1, 1, {});
    EXPECT_EQ((std::vector<std::uint8_t>(dest, dest + 4)), (std::vector<std::uint8_t>{1, 1, 2, 2}));
    StretchOptions mirror;
    mirror.mirrorLeftRight = true;
    StretchPixels({source, 2}, 2, 1, {dest, 4}, 4, 1, 1, mirror);
    EXPECT_EQ((std::vector<std::uint8_t>(dest, dest + 4)), (std::vector<std::uint8_t>{2, 2, 1, 1}));

    std::uint8_t column[2] = {5, 6};
    std::uint8_t flipped[2] = {};
    StretchOptions upDown;
    upDown.mirrorUpDown = true;
    StretchPixels({column, 1}, 1, 2, {flipped, 1}, 1, 2, 1, upDown);
    EXPECT_EQ(flipped[0], 6);
    EXPECT_EQ(flipped[1], 5);
}

TEST(PixelBlits, ThirtyTwoBitWritesAndTwentyFourBitReads) {
    std::uint8_t pixel[4] = {};
    WritePixel(pixel, 3, 0xAABBCCDD);
    EXPECT_EQ(pixel[3], 0);
    EXPECT_EQ(ReadPixel(pixel, 3), 0xBBCCDDu);
    FillPixels({pixel, 4}, 1, 1, 4, 0x01020304);
    EXPECT_EQ(ReadPixel(pixel, 4), 0x01020304u);
}
