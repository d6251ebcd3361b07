// SPDX-License-Identifier: MIT
#include "platform/display/shown_picture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/display/pixel_format.h"

using namespace platform;

namespace {

// A picture in its own bytes, rows padded past the pixels with bytes that vary.
struct Frame {
    int width;
    int height;
    int pitch;
    int depth;
    std::vector<std::uint8_t> bytes;
    std::array<PALETTEENTRY, 256> palette{};
};

Frame MakeFrame(int width, int height, int depth, int padding, std::uint32_t seed) {
    const int pixelBytes = (depth + 7) / 8;
    Frame frame{width, height, width * pixelBytes + padding, depth, {}, {}};
    frame.bytes.resize(static_cast<std::size_t>(frame.pitch) * height);
    for (auto& byte : frame.bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(seed >> 24);
    }
    return frame;
}

PresentedPicture PictureOf(const Frame& frame) {
    PresentedPicture picture;
    picture.pixels = frame.bytes.data();
    picture.width = frame.width;
    picture.height = frame.height;
    picture.pitch = frame.pitch;
    picture.format = PixelFormatForDepth(frame.depth);
    if (frame.depth == 8) picture.palette = frame.palette.data();
    return picture;
}

TEST(ShownPicture, TakesTheFirstPictureAndLeavesOutTheSameAgain) {
    ShownPicture shown;
    Frame frame = MakeFrame(33, 7, 16, 6, 1);
    EXPECT_TRUE(shown.TakeIfChanged(PictureOf(frame)));
    EXPECT_FALSE(shown.TakeIfChanged(PictureOf(frame)));
    // The same pixels at another pitch, in another buffer, are the same picture.
    Frame copy = MakeFrame(33, 7, 16, 2, 99);
    for (int row = 0; row < 7; ++row) {
        std::copy_n(frame.bytes.begin() + row * frame.pitch, 33 * 2,
                    copy.bytes.begin() + row * copy.pitch);
    }
    EXPECT_FALSE(shown.TakeIfChanged(PictureOf(copy)));
}

TEST(ShownPicture, SeesOneChangedPixelAnywhereAndKeepsTheNewPicture) {
    for (int depth : {8, 16, 24, 32}) {
        const int pixelBytes = (depth + 7) / 8;
        for (const auto& [row, column] : {std::pair{0, 0}, std::pair{4, 10}, std::pair{8, 20}}) {
            SCOPED_TRACE(testing::Message() << depth << " bits, pixel " << column << "," << row);
            ShownPicture shown;
            Frame frame = MakeFrame(21, 9, depth, 3, 7);
            ASSERT_TRUE(shown.TakeIfChanged(PictureOf(frame)));
            frame.bytes[static_cast<std::size_t>(row * frame.pitch + column * pixelBytes +
                                                 pixelBytes - 1)] ^= 0x01;
            EXPECT_TRUE(shown.TakeIfChanged(PictureOf(frame)));
            // Only the changed picture is kept: the change was copied, rows before it too.
            EXPECT_FALSE(shown.TakeIfChanged(PictureOf(frame)));
        }
    }
}

TEST(ShownPicture, PaddingDoesNotCountButSizeFormatAndPaletteDo) {
    ShownPicture shown;
    Frame frame = MakeFrame(16, 4, 16, 8, 3);
    ASSERT_TRUE(shown.TakeIfChanged(PictureOf(frame)));
    frame.bytes[static_cast<std::size_t>(frame.pitch - 1)] ^= 0xFF;  // a padding byte
    EXPECT_FALSE(shown.TakeIfChanged(PictureOf(frame)));

    PresentedPicture asFifteen = PictureOf(frame);
    asFifteen.format = PixelFormatForDepth(15);
    EXPECT_TRUE(shown.TakeIfChanged(asFifteen));
    PresentedPicture narrower = PictureOf(frame);
    narrower.width = 15;
    EXPECT_TRUE(shown.TakeIfChanged(narrower));

    Frame indexed = MakeFrame(16, 4, 8, 0, 5);
    ASSERT_TRUE(shown.TakeIfChanged(PictureOf(indexed)));
    EXPECT_FALSE(shown.TakeIfChanged(PictureOf(indexed)));
    indexed.palette[200].peGreen = 77;
    EXPECT_TRUE(shown.TakeIfChanged(PictureOf(indexed)));
    PresentedPicture withoutPalette = PictureOf(indexed);
    withoutPalette.palette = nullptr;
    EXPECT_TRUE(shown.TakeIfChanged(withoutPalette));
    EXPECT_FALSE(shown.TakeIfChanged(withoutPalette));
}

TEST(ShownPicture, ForgettingOrAnEmptyPictureTakesTheNextOne) {
    ShownPicture shown;
    Frame frame = MakeFrame(8, 8, 32, 0, 11);
    ASSERT_TRUE(shown.TakeIfChanged(PictureOf(frame)));
    shown.Forget();
    EXPECT_TRUE(shown.TakeIfChanged(PictureOf(frame)));
    EXPECT_TRUE(shown.TakeIfChanged(PresentedPicture{}));
    EXPECT_TRUE(shown.TakeIfChanged(PictureOf(frame)));
    EXPECT_FALSE(shown.TakeIfChanged(PictureOf(frame)));
}

}  // namespace
