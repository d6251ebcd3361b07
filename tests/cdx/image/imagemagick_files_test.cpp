// SPDX-License-Identifier: MIT
// Pictures saved by ImageMagick, a writer no one here wrote, loaded by the engine and compared
// pixel by pixel with ImageMagick's own decoding of the same files. Skipped where ImageMagick
// is not installed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "cdx/image/cdxpsd.h"
#include "test_pictures.h"

using namespace cdx;

using namespace platform;
using namespace testpictures;

namespace {

constexpr int kWidth = 37;
constexpr int kHeight = 23;
constexpr int kAllBits[3] = {8, 8, 8};
constexpr int kFiveSixFive[3] = {5, 6, 5};

class ImageMagickTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("convert -version > /dev/null 2>&1") != 0) {
            GTEST_SKIP() << "ImageMagick's convert is not installed";
        }
        // A picture with many colours, smooth and sharp edges, as 8-bit channels.
        ASSERT_TRUE(Run("-size " + Size() + " plasma:fractal -seed 5 -depth 8 -alpha off " +
                        Quoted("source.png")));
        ASSERT_TRUE(Run("-size " + Size() + " gradient:white-black -rotate 90 -resize " + Size() +
                        "! -depth 8 " + Quoted("alpha.png")));
        ASSERT_TRUE(Run(Quoted("source.png") + " " + Quoted("alpha.png") +
                        " -alpha off -compose CopyOpacity -composite -depth 8 " +
                        Quoted("source-alpha.png")));
    }

    std::string Size() const { return std::to_string(kWidth) + "x" + std::to_string(kHeight); }
    std::string Quoted(const std::string& name) const {
        std::string quoted(1, '\'');
        quoted += scratch.Path(name).string();
        quoted += '\'';
        return quoted;
    }
    bool Run(const std::string& arguments) const {
        return std::system(("convert " + arguments + " 2> /dev/null").c_str()) == 0;
    }
    std::vector<std::uint8_t> Read(const std::string& name) const {
        std::ifstream file(scratch.Path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    // ImageMagick's decoding of a file: 8-bit red, green, blue (and alpha) per pixel.
    std::vector<std::uint8_t> Decoded(const std::string& name, const std::string& channels) {
        const std::string raw = name + "." + channels;
        EXPECT_TRUE(Run("-define psd:alpha-unblend=off " + Quoted(name + "[0]") + " -depth 8 " +
                        channels + ":" + Quoted(raw)));
        return Read(raw);
    }

    // significantBits: how many top bits of red, green and blue are compared. A 16-bit
    // file's 5 and 6-bit channels widen to 8 bits by different roundings in different
    // decoders; what reaches the display is the original bits, so those are compared.
    void ExpectSamePixels(const Bitmap& ours, const std::vector<std::uint8_t>& theirs,
                          bool withAlpha, const std::string& what,
                          const int (&significantBits)[3] = kAllBits) {
        ASSERT_EQ(ours.width, kWidth) << what;
        ASSERT_EQ(ours.height, kHeight) << what;
        const int stride = withAlpha ? 4 : 3;
        ASSERT_EQ(theirs.size(), static_cast<std::size_t>(kWidth * kHeight * stride)) << what;
        int differences = 0;
        for (int i = 0; i < kWidth * kHeight; ++i) {
            const std::uint8_t* mine = ours.pixels.data() + i * 4;
            const std::uint8_t* other = theirs.data() + i * stride;
            auto top = [](std::uint8_t value, int bits) { return value >> (8 - bits); };
            const bool same =
                top(mine[2], significantBits[0]) == top(other[0], significantBits[0]) &&
                top(mine[1], significantBits[1]) == top(other[1], significantBits[1]) &&
                top(mine[0], significantBits[2]) == top(other[2], significantBits[2]) &&
                (!withAlpha || mine[3] == other[3]);
            differences += same ? 0 : 1;
        }
        EXPECT_EQ(differences, 0) << what;
    }

    ScratchFolder scratch;
};

}  // namespace

TEST_F(ImageMagickTest, BitmapsInEveryDepthDecodeAsImageMagickReadsThem) {
    struct Variant {
        const char* file;
        const char* options;
        const int (&significantBits)[3];
    };
    const Variant variants[] = {
        {"palette8.bmp", "-type Palette -colors 200 BMP3:", kAllBits},
        {"rle8.bmp", "-type Palette -colors 60 -compress RLE BMP3:", kAllBits},
        {"rgb565.bmp", "-define bmp:subtype=RGB565 BMP:", kFiveSixFive},
        {"true24.bmp", "-type TrueColor BMP3:", kAllBits},
        {"true32.bmp", "-type TrueColorAlpha BMP:", kAllBits},
    };
    for (const Variant& variant : variants) {
        const std::string source =
            variant.file == std::string("true32.bmp") ? "source-alpha.png" : "source.png";
        ASSERT_TRUE(Run(Quoted(source) + " " + variant.options + Quoted(variant.file)))
            << variant.file;
        const std::vector<std::uint8_t> bytes = Read(variant.file);
        const auto bitmap = DecodeBitmap(bytes.data(), bytes.size());
        ASSERT_TRUE(bitmap) << variant.file;
        ExpectSamePixels(*bitmap, Decoded(variant.file, "rgb"), false, variant.file,
                         variant.significantBits);
    }
    // The RLE file really is packed, and the 16-bit one really 16 bits per pixel.
    EXPECT_EQ(Read("rle8.bmp")[30], 1);
    EXPECT_EQ(Read("rgb565.bmp")[28], 16);
}

TEST_F(ImageMagickTest, PsdFilesRawAndPackedWithAndWithoutAlpha) {
    struct Variant {
        const char* file;
        const char* source;
        const char* compression;
        bool alpha;
    };
    const Variant variants[] = {
        {"raw.psd", "source.png", "none", false},
        {"packed.psd", "source.png", "RLE", false},
        {"raw-alpha.psd", "source-alpha.png", "none", true},
        {"packed-alpha.psd", "source-alpha.png", "RLE", true},
    };
    for (const Variant& variant : variants) {
        ASSERT_TRUE(Run(Quoted(variant.source) + " -compress " + variant.compression + " " +
                        Quoted(variant.file)))
            << variant.file;
        const std::vector<std::uint8_t> bytes = Read(variant.file);
        const auto picture = DecodePsd(bytes.data(), bytes.size());
        ASSERT_TRUE(picture) << variant.file;
        EXPECT_EQ(picture->channels > 3, variant.alpha) << variant.file;
        ExpectSamePixels(picture->pixels, Decoded(variant.file, variant.alpha ? "rgba" : "rgb"),
                         variant.alpha, variant.file);
    }
}
