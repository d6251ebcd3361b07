// SPDX-License-Identifier: MIT
// The bitmap header reader that judges every picture before SDL's decoder sees it: the header
// kinds it reads, the sides a display surface can hold, depths and compressions that agree,
// unpacked rows that are all there and packed pictures held to what their data can make.

#include "platform/bitmap/bitmap_header.h"

#include <gtest/gtest.h>

#include <climits>

#include "test_pictures.h"

using namespace platform;
using namespace testpictures;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::optional<BitmapHeader> Read(const Bytes& bytes) {
    return ReadBitmapHeader(bytes.data(), bytes.size());
}

// A picture of those fields with exactly the unpacked rows it needs.
Bytes WithWholeRows(const BmpFields& fields) {
    const std::size_t rowBytes =
        (static_cast<std::size_t>(fields.width) * fields.bits + 31) / 32 * 4;
    const std::size_t rows = static_cast<std::size_t>(std::abs(std::int64_t{fields.height}));
    return MakeBmp(fields, Bytes(rowBytes * rows, 0x5A));
}

Rgb Grey(int, int) {
    return {128, 128, 128};
}

}  // namespace

TEST(BitmapHeader, ReadsTheInformationAndCoreHeaders) {
    auto header = Read(MakeBmp24(3, 2, Grey));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->width, 3);
    EXPECT_EQ(header->height, 2);
    EXPECT_FALSE(header->topDown);
    EXPECT_EQ(header->bitsPerPixel, 24);
    EXPECT_EQ(header->compression, BitmapCompression::None);
    EXPECT_EQ(header->pixelOffset, 54u);

    header = Read(WithWholeRows({3, -2, 8, 0}));
    ASSERT_TRUE(header);
    EXPECT_TRUE(header->topDown);
    EXPECT_EQ(header->height, 2);
    EXPECT_EQ(header->pixelOffset, 54u + 256 * 4);

    // The old 12-byte header: 16-bit sides, no compression field; rows of 2 x 3 bytes padded.
    Bytes core{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 2, 0, 3, 0, 1, 0, 24, 0};
    core.resize(core.size() + 3 * 8, 0);
    header = Read(core);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->width, 2);
    EXPECT_EQ(header->height, 3);
    core.pop_back();
    EXPECT_FALSE(Read(core));

    // Bit fields after a 40-byte header bring their three masks along.
    const Bytes masks{0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
    Bytes fields = MakeBmp({1, 1, 16, 3}, masks);
    fields.resize(fields.size() + 4, 0);
    EXPECT_TRUE(Read(fields));
    EXPECT_FALSE(Read(MakeBmp({1, 1, 16, 3}, Bytes(8, 0))));

    // Other header sizes, signatures and every cut of a good file are refused.
    for (const std::uint8_t size : {0, 11, 13, 39}) {
        Bytes odd = MakeBmp24(3, 2, Grey);
        odd[14] = size;
        EXPECT_FALSE(Read(odd)) << int{size};
    }
    Bytes signature = MakeBmp24(3, 2, Grey);
    signature[1] = 'A';
    EXPECT_FALSE(Read(signature));
    const Bytes whole = MakeBmp24(3, 2, Grey);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        EXPECT_FALSE(ReadBitmapHeader(whole.data(), size)) << size;
    }
    EXPECT_FALSE(ReadBitmapHeader(nullptr, 100));
}

TEST(BitmapHeader, SidesRunFromOneToTheLargestDisplaySurface) {
    EXPECT_TRUE(Read(WithWholeRows({kLargestSurfaceSide, 1, 1, 0})));
    EXPECT_TRUE(Read(WithWholeRows({1, kLargestSurfaceSide, 1, 0})));
    EXPECT_TRUE(Read(WithWholeRows({1, -kLargestSurfaceSide, 1, 0})));
    const BmpFields refused[] = {
        {0, 1, 1, 0},
        {-1, 1, 1, 0},
        {kLargestSurfaceSide + 1, 1, 1, 0},
        {1, 0, 1, 0},
        {1, kLargestSurfaceSide + 1, 1, 0},
        {1, -kLargestSurfaceSide - 1, 1, 0},
        {1, INT32_MIN, 1, 0},
        {INT32_MIN, 1, 1, 0},
        // What SDL's loader would allocate gigabytes for: 100000 x 100000 at 8 bits.
        {100000, 100000, 8, 0},
    };
    for (const BmpFields& fields : refused) {
        EXPECT_FALSE(Read(MakeBmp(fields, Bytes(64, 0)))) << fields.width << " x " << fields.height;
    }
}

TEST(BitmapHeader, DepthAndCompressionMustAgree) {
    for (const std::uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        EXPECT_TRUE(Read(WithWholeRows({2, 2, bits, 0}))) << bits;
    }
    for (const std::uint16_t bits : {0, 2, 15, 48}) {
        EXPECT_FALSE(Read(WithWholeRows({2, 2, bits, 0}))) << bits;
    }
    EXPECT_TRUE(Read(MakeBmp({2, 2, 8, 1}, {0, 1})));
    EXPECT_TRUE(Read(MakeBmp({2, 2, 4, 2}, {0, 1})));
    const BmpFields mismatched[] = {
        {2, 2, 4, 1}, {2, 2, 8, 2}, {2, 2, 24, 3}, {2, 2, 8, 3}, {2, 2, 8, 4}, {2, 2, 24, 5},
    };
    for (const BmpFields& fields : mismatched) {
        EXPECT_FALSE(Read(MakeBmp(fields, Bytes(64, 0))))
            << fields.bits << " bits, compression " << fields.compression;
    }
}

TEST(BitmapHeader, UnpackedPixelDataHoldsEveryPaddedRow) {
    // Rows of 5 x 3 bytes take 16; of 33 one-bit pixels 8; of 3 four-bit pixels 4.
    const struct {
        BmpFields fields;
        std::size_t bytes;
    } pictures[] = {{{5, 3, 24, 0}, 48}, {{33, 2, 1, 0}, 16}, {{3, -4, 4, 0}, 16}};
    for (const auto& picture : pictures) {
        EXPECT_TRUE(Read(MakeBmp(picture.fields, Bytes(picture.bytes, 0)))) << picture.bytes;
        EXPECT_FALSE(Read(MakeBmp(picture.fields, Bytes(picture.bytes - 1, 0)))) << picture.bytes;
    }
    // A pixel offset past the end of the file.
    Bytes pastEnd = MakeBmp24(2, 2, Grey);
    pastEnd[13] = 0x70;
    EXPECT_FALSE(Read(pastEnd));
}

TEST(BitmapHeader, PackedPicturesAreHeldToWhatTheirDataCanMake) {
    // Any packed picture up to the free size, even one of nothing but its end.
    EXPECT_TRUE(Read(MakeBmp({256, 256, 8, 1}, {0, 1})));
    EXPECT_FALSE(Read(MakeBmp({256, 257, 8, 1}, {0, 1})));
    // Beyond it, kPackedPixelsPerByte pixels per byte of packed data.
    const std::size_t bytes = 1024 * 1024 / kPackedPixelsPerByte;
    EXPECT_TRUE(Read(MakeBmp({1024, 1024, 8, 1}, Bytes(bytes, 0))));
    EXPECT_FALSE(Read(MakeBmp({1024, 1024, 8, 1}, Bytes(bytes - 1, 0))));
    EXPECT_TRUE(Read(MakeBmp({1024, 1024, 4, 2}, Bytes(bytes, 0))));
    EXPECT_FALSE(Read(MakeBmp({1024, 1024, 4, 2}, Bytes(bytes - 1, 0))));
    // The 1,082-byte file that claims 40000 x 25000 pixels.
    const Bytes claim = MakeBmp({40000, 25000, 8, 1}, {0, 0, 0, 1});
    EXPECT_EQ(claim.size(), 1082u);
    EXPECT_FALSE(Read(claim));
    // Packed rows run from the bottom up only.
    EXPECT_FALSE(Read(MakeBmp({16, -16, 8, 1}, {0, 1})));
}
