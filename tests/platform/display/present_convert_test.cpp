// SPDX-License-Identifier: MIT
#include "platform/display/present_convert.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/display/pixel_format.h"

using namespace platform;

namespace {

struct Frame {
    int width;
    int height;
    int pitch;
    std::vector<std::uint8_t> bytes;
};

// Pixels from a fixed LCG so every bit pattern of every channel turns up.
Frame RandomFrame(int width, int height, int padding, int bytesPerPixel) {
    Frame frame{width, height, width * bytesPerPixel + padding, {}};
    frame.bytes.resize(static_cast<std::size_t>(frame.pitch) * height);
    std::uint32_t state = 12345;
    for (auto& byte : frame.bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return frame;
}

PresentedPicture PictureOf(const Frame& frame, int depth) {
    PresentedPicture picture;
    picture.pixels = frame.bytes.data();
    picture.width = frame.width;
    picture.height = frame.height;
    picture.pitch = frame.pitch;
    picture.format = PixelFormatForDepth(depth);
    return picture;
}

std::uint32_t ConvertOne(std::uint16_t pixel, int depth) {
    Frame frame{1, 1, 2, {static_cast<std::uint8_t>(pixel), static_cast<std::uint8_t>(pixel >> 8)}};
    std::uint32_t out = 0;
    ConvertPictureToArgb(PictureOf(frame, depth), &out, 4);
    return out;
}

std::vector<ConversionSteps> AvailableSteps() {
    std::vector<ConversionSteps> steps;
    for (ConversionSteps each : {ConversionSteps::kSse2, ConversionSteps::kAvx2}) {
        if (ConversionStepsAvailable(each)) steps.push_back(each);
    }
    return steps;
}

// Converts through the given steps and through the reference into outputs with a padded
// pitch whose padding holds a marker, and asserts they agree word for word.
void ExpectStepsMatchReference(ConversionSteps steps, const PresentedPicture& picture) {
    const int outPitch = picture.width * 4 + 12;
    std::vector<std::uint32_t> fast(static_cast<std::size_t>(outPitch / 4) * picture.height, 0xAB);
    std::vector<std::uint32_t> reference(fast.size(), 0xAB);
    ASSERT_TRUE(ConvertPictureToArgbWithSteps(steps, picture, fast.data(), outPitch));
    ConvertPictureToArgbReference(picture, reference.data(), outPitch);
    ASSERT_EQ(fast, reference) << "steps " << static_cast<int>(steps) << ", width " << picture.width
                               << ", pitch " << picture.pitch;
}

}  // namespace

TEST(PresentConvert, WidensChannelsSoFullStaysFullAndBlackStaysBlack) {
    EXPECT_EQ(ConvertOne(0xFFFF, 16), 0xFFFFFFFFu);
    EXPECT_EQ(ConvertOne(0x0000, 16), 0xFF000000u);
    EXPECT_EQ(ConvertOne(0xF800, 16), 0xFFFF0000u);
    EXPECT_EQ(ConvertOne(0x07E0, 16), 0xFF00FF00u);
    EXPECT_EQ(ConvertOne(0x001F, 16), 0xFF0000FFu);
    EXPECT_EQ(ConvertOne(0x7C00, 15), 0xFFFF0000u);
    EXPECT_EQ(ConvertOne(0x03E0, 15), 0xFF00FF00u);
    // Green 0b100000 of 5-6-5 widens to 0b10000010.
    EXPECT_EQ(ConvertOne(0x0400, 16), 0xFF008200u);
}

// Every vector step width and the default choice against the reference, at every depth, at
// widths around and between the 8- and 16-pixel steps, with and without source padding.
TEST(PresentConvert, EveryStepWidthMatchesReferenceBitForBit) {
    const auto steps = AvailableSteps();
    ASSERT_FALSE(steps.empty());
    for (int depth : {15, 16, 24, 32}) {
        const int bytes = BytesPerPixel(depth == 15 ? 16 : static_cast<DWORD>(depth));
        for (int width : {1, 7, 8, 9, 15, 16, 17, 23, 31, 33, 47, 640, 641}) {
            for (int padding : {0, 2, 6}) {
                const Frame frame = RandomFrame(width, 5, padding, bytes);
                const PresentedPicture picture = PictureOf(frame, depth);
                for (ConversionSteps each : steps) ExpectStepsMatchReference(each, picture);
                const int outPitch = width * 4 + 12;
                std::vector<std::uint32_t> fast(static_cast<std::size_t>(outPitch / 4) * 5, 0xAB);
                std::vector<std::uint32_t> reference(fast.size(), 0xAB);
                ConvertPictureToArgb(picture, fast.data(), outPitch);
                ConvertPictureToArgbReference(picture, reference.data(), outPitch);
                ASSERT_EQ(fast, reference)
                    << "depth " << depth << " width " << width << " padding " << padding;
            }
        }
    }
}

// All 65,536 pixel values of both 16-bit layouts, in rows of an odd width so every value
// also sits at every position of a step and in the rows' tails.
TEST(PresentConvert, EveryStepWidthConvertsEverySixteenBitValueAsTheReference) {
    constexpr int kWidth = 251;
    constexpr int kHeight = (65536 + kWidth - 1) / kWidth;
    Frame frame{kWidth, kHeight, kWidth * 2 + 4, {}};
    frame.bytes.resize(static_cast<std::size_t>(frame.pitch) * kHeight);
    for (int value = 0; value < 65536; ++value) {
        const std::size_t at =
            static_cast<std::size_t>(value / kWidth) * frame.pitch + (value % kWidth) * 2;
        frame.bytes[at] = static_cast<std::uint8_t>(value);
        frame.bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    for (int depth : {15, 16}) {
        for (ConversionSteps each : AvailableSteps()) {
            ExpectStepsMatchReference(each, PictureOf(frame, depth));
        }
    }
}

TEST(PresentConvert, EightBitPicturesGoThroughThePalette) {
    PALETTEENTRY palette[256] = {};
    palette[7] = PALETTEENTRY{10, 20, 30, 0};
    Frame frame{2, 1, 2, {7, 0}};
    PresentedPicture picture = PictureOf(frame, 8);
    picture.palette = palette;
    std::uint32_t out[2] = {};
    ConvertPictureToArgb(picture, out, 8);
    EXPECT_EQ(out[0], 0xFF0A141Eu);
    EXPECT_EQ(out[1], 0xFF000000u);
}
