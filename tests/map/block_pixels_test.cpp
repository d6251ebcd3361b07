// SPDX-License-Identifier: MIT
// Block pixels converted into display formats, the colour key composed into them, and the
// 24-bit bitmap rows of the 8-bit display path. Plain functions over bytes.

#include "map/block_pixels.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/display/dib_blit.h"

using namespace cdx;

namespace {

const BlockTargetFormat kFiveSixFive{16, 0xF800, 0x07E0, 0x001F};
const BlockTargetFormat kFiveFiveFive{16, 0x7C00, 0x03E0, 0x001F};
const BlockTargetFormat kTwentyFour{24, 0xFF0000, 0x00FF00, 0x0000FF};
const BlockTargetFormat kThirtyTwo{32, 0xFF0000, 0x00FF00, 0x0000FF};
const BlockTargetFormat kEightBit{8, 0, 0, 0};

using Bytes = std::vector<std::uint8_t>;

// Converts a one-row graphic into a buffer of the given pitch that starts filled with 0xAB,
// so writes outside the pixels show.
Bytes Convert(const Bytes& pixels, int depth, int width, int height,
              const BlockTargetFormat& target, int pitch,
              const platform::PALETTEENTRY* palette = nullptr) {
    Bytes out(static_cast<std::size_t>(pitch) * height, 0xAB);
    const BlockSource source{pixels.data(), depth, width, height, palette};
    EXPECT_TRUE(ConvertBlockPixels(source, target, out.data(), pitch));
    return out;
}

std::uint32_t Word16(const Bytes& out, std::size_t at) {
    return out[at] | (out[at + 1] << 8);
}

std::uint32_t Word32(const Bytes& out, std::size_t at) {
    return out[at] | (out[at + 1] << 8) | (out[at + 2] << 16) | (std::uint32_t(out[at + 3]) << 24);
}

}  // namespace

TEST(BlockPixels, SixteenBitFileOnFiveSixFiveKeepsItsBits) {
    // Big-endian file words; the padded pitch leaves its spare bytes alone.
    const Bytes pixels = {0xF8, 0x00, 0x07, 0xE0, 0x12, 0x34, 0xAB, 0xCD};
    const Bytes out = Convert(pixels, 16, 2, 2, kFiveSixFive, 7);
    EXPECT_EQ(Word16(out, 0), 0xF800u);
    EXPECT_EQ(Word16(out, 2), 0x07E0u);
    EXPECT_EQ(Word16(out, 7), 0x1234u);
    EXPECT_EQ(Word16(out, 9), 0xABCDu);
    EXPECT_EQ(out[4], 0xAB);
    EXPECT_EQ(out[6], 0xAB);
    EXPECT_EQ(out[11], 0xAB);
}

TEST(BlockPixels, FifteenBitFileWidensGreenOnFiveSixFive) {
    // Red 3, green 31, blue 17; bit 15 set, which is ignored.
    const std::uint32_t value = 0x8000 | (3 << 10) | (31 << 5) | 17;
    const Bytes out =
        Convert({std::uint8_t(value >> 8), std::uint8_t(value)}, 15, 1, 1, kFiveSixFive, 2);
    EXPECT_EQ(Word16(out, 0), (3u << 11) | (62u << 5) | 17u);
}

TEST(BlockPixels, SixteenBitFileOnFiveFiveFiveLosesGreensLowBit) {
    const std::uint32_t value = (21 << 11) | (45 << 5) | 9;
    const Bytes out =
        Convert({std::uint8_t(value >> 8), std::uint8_t(value)}, 16, 1, 1, kFiveFiveFive, 2);
    EXPECT_EQ(Word16(out, 0), (21u << 10) | (22u << 5) | 9u);
}

TEST(BlockPixels, FifteenBitWhiteOnThirtyTwoBitsHasZeroLowBits) {
    const Bytes out = Convert({0x7F, 0xFF}, 15, 1, 1, kThirtyTwo, 4);
    EXPECT_EQ(Word32(out, 0), 0x00F8F8F8u);
}

TEST(BlockPixels, TwentyFourBitFileOnFiveFiveFive) {
    const Bytes out = Convert({200, 100, 50}, 24, 1, 1, kFiveFiveFive, 2);
    EXPECT_EQ(Word16(out, 0), (25u << 10) | (12u << 5) | 6u);
}

TEST(BlockPixels, ThirtyTwoBitFileSkipsItsFirstByte) {
    const Bytes out = Convert({0x99, 0x10, 0x20, 0x30}, 32, 1, 1, kTwentyFour, 3);
    EXPECT_EQ(out[0], 0x30);  // blue, least significant first
    EXPECT_EQ(out[1], 0x20);
    EXPECT_EQ(out[2], 0x10);
}

TEST(BlockPixels, EightBitFileUsesTheColourMapOrCopiesIndices) {
    std::array<platform::PALETTEENTRY, 256> palette{};
    palette[5] = {255, 128, 64, 0};
    palette[6] = {1, 2, 3, 0};
    const Bytes out = Convert({5, 6}, 8, 2, 1, kFiveSixFive, 4, palette.data());
    EXPECT_EQ(Word16(out, 0), 0xFC08u);
    const Bytes thirtyTwo = Convert({6}, 8, 1, 1, kThirtyTwo, 4, palette.data());
    EXPECT_EQ(Word32(thirtyTwo, 0), 0x00010203u);
    const Bytes indices = Convert({5, 6, 7, 8}, 8, 2, 2, kEightBit, 3, palette.data());
    EXPECT_EQ(indices, (Bytes{5, 6, 0xAB, 7, 8, 0xAB}));
}

TEST(BlockPixels, OtherDepthsOnAnEightBitTargetAreLeftToTheDisplayPath) {
    const Bytes out = Convert({0x12, 0x34}, 16, 1, 1, kEightBit, 1);
    EXPECT_EQ(out[0], 0xAB);
}

TEST(BlockPixels, UnsupportedDepthFailsAndWritesNothing) {
    Bytes out(4, 0xAB);
    const Bytes pixels(4, 0x11);
    EXPECT_FALSE(
        ConvertBlockPixels({pixels.data(), 12, 1, 1, nullptr}, kFiveSixFive, out.data(), 2));
    EXPECT_FALSE(BlockToDibRows({pixels.data(), 12, 1, 1, nullptr}, out.data(), 4));
    EXPECT_EQ(out, Bytes(4, 0xAB));
    EXPECT_FALSE(IsBlockDepth(12));
    EXPECT_TRUE(IsBlockDepth(15));
}

TEST(BlockPixels, TargetsOfOtherSizesReceiveNothing) {
    const Bytes out = Convert({0x12, 0x34}, 16, 1, 1, BlockTargetFormat{12, 0xF00, 0xF0, 0xF}, 2);
    EXPECT_EQ(out, Bytes(2, 0xAB));
}

TEST(BlockColorKey, KeyIsComposedIntoTheFormat) {
    EXPECT_EQ(ComposeColorKey(kFiveFiveFive, 255, 0, 255, 0), 0x7C1Fu);
    EXPECT_EQ(ComposeColorKey(kFiveSixFive, 255, 0, 255, 0), 0xF81Fu);
    EXPECT_EQ(ComposeColorKey(kThirtyTwo, 0x12, 0x34, 0x56, 0), 0x123456u);
    EXPECT_EQ(ComposeColorKey(kFiveSixFive, 0, 0, 0, 0), 0u);
    EXPECT_EQ(ComposeColorKey(kEightBit, 255, 0, 255, 42), 42u);
    EXPECT_EQ(ComposeColorKey(BlockTargetFormat{4, 0, 0, 0}, 255, 255, 255, 7), 0u);
}

TEST(BlockDibRows, ChannelsComeOutBlueGreenRedOnFourByteRows) {
    EXPECT_EQ(DibStride(1), 4);
    EXPECT_EQ(DibStride(4), 12);
    EXPECT_EQ(DibStride(5), 16);
    EXPECT_EQ(DibStride(20000), 60000);  // no 15-bit cut of the stride

    const std::uint32_t sixteen = (31 << 11) | (63 << 5) | 1;
    const std::uint32_t fifteen = (1 << 10) | (2 << 5) | 3;
    Bytes rows(8, 0xAB);
    const Bytes pixels16 = {std::uint8_t(sixteen >> 8), std::uint8_t(sixteen)};
    ASSERT_TRUE(BlockToDibRows({pixels16.data(), 16, 1, 1, nullptr}, rows.data(), 4));
    EXPECT_EQ(rows, (Bytes{8, 252, 248, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB}));
    const Bytes pixels15 = {std::uint8_t(fifteen >> 8), std::uint8_t(fifteen)};
    ASSERT_TRUE(BlockToDibRows({pixels15.data(), 15, 1, 1, nullptr}, rows.data(), 4));
    EXPECT_EQ(rows[0], 24);
    EXPECT_EQ(rows[1], 16);
    EXPECT_EQ(rows[2], 8);
    const Bytes pixels24 = {10, 20, 30, 40, 50, 60};
    ASSERT_TRUE(BlockToDibRows({pixels24.data(), 24, 1, 2, nullptr}, rows.data(), 4));
    EXPECT_EQ(rows, (Bytes{30, 20, 10, 0xAB, 60, 50, 40, 0xAB}));
    const Bytes pixels32 = {9, 10, 20, 30};
    ASSERT_TRUE(BlockToDibRows({pixels32.data(), 32, 1, 1, nullptr}, rows.data(), 4));
    EXPECT_EQ(rows[0], 30);
    EXPECT_EQ(rows[2], 10);
}

TEST(BlockDibRows, EachPixelBecomesTheNearestPaletteEntry) {
    std::array<platform::PALETTEENTRY, 256> palette{};
    for (auto& entry : palette) entry = {255, 255, 255, 0};
    palette[3] = {250, 0, 0, 0};
    palette[9] = {0, 0, 200, 0};
    // Rows of blue, green, red: a red and a blue pixel, then a white one.
    const Bytes rows = {0, 0, 255, 210, 0, 0, 0xEE, 0xEE, 255, 255, 255, 0, 0, 0, 0xEE, 0xEE};
    Bytes out(6, 0xAB);
    platform::DibToPaletteIndices({rows.data(), 2, 2, 8}, palette.data(), {out.data(), 3});
    EXPECT_EQ(out, (Bytes{3, 9, 0xAB, 0, 9, 0xAB}));
}
