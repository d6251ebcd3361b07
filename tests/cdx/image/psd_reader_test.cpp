// SPDX-License-Identifier: MIT
// The PSD reader: header rules, raw and run-length planes, defaults of missing channels, the
// alpha map, and the refusals of broken data.

#include <gtest/gtest.h>

#include "cdx/image/cdxpsd.h"
#include "platform/display/surface_limits.h"
#include "test_pictures.h"

using namespace cdx;

using namespace platform;
using namespace testpictures;

namespace {

std::unique_ptr<PsdPicture> Decode(const std::vector<std::uint8_t>& bytes) {
    return DecodePsd(bytes.data(), bytes.size());
}

// Blue, green, red, alpha of pixel i.
std::vector<std::uint8_t> PixelBytes(const PsdPicture& picture, int i) {
    const auto* at = picture.pixels.pixels.data() + i * 4;
    return {at[0], at[1], at[2], at[3]};
}

using Bytes = std::vector<std::uint8_t>;

}  // namespace

TEST(PsdReader, RawPlanesGoToRedGreenBlueAndAlpha) {
    PsdFields fields;
    fields.width = 2;
    fields.height = 2;
    fields.channels = 3;
    const Bytes rgb{10, 11, 12, 13, 20, 21, 22, 23, 30, 31, 32, 33};
    auto picture = Decode(MakePsd(fields, rgb));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->pixels.width, 2);
    EXPECT_EQ(picture->pixels.height, 2);
    EXPECT_EQ(picture->channels, 3);
    EXPECT_EQ(PixelBytes(*picture, 0), (Bytes{30, 20, 10, 255}));
    EXPECT_EQ(PixelBytes(*picture, 3), (Bytes{33, 23, 13, 255}));

    fields.channels = 4;
    Bytes rgba = rgb;
    rgba.insert(rgba.end(), {40, 41, 42, 43});
    picture = Decode(MakePsd(fields, rgba));
    ASSERT_TRUE(picture);
    EXPECT_EQ(PixelBytes(*picture, 2), (Bytes{32, 22, 12, 42}));

    // A fifth channel is not read: it need not even be in the file.
    fields.channels = 5;
    picture = Decode(MakePsd(fields, rgba));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->channels, 5);
    EXPECT_EQ(PixelBytes(*picture, 1), (Bytes{31, 21, 11, 41}));

    // A byte takes a plane when its index is below the channel count: one channel fills blue,
    // two fill green and blue; red stays 0 and the picture opaque.
    fields.channels = 1;
    picture = Decode(MakePsd(fields, {1, 2, 3, 4}));
    ASSERT_TRUE(picture);
    EXPECT_EQ(PixelBytes(*picture, 3), (Bytes{4, 0, 0, 255}));
    fields.channels = 2;
    picture = Decode(MakePsd(fields, {1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_TRUE(picture);
    EXPECT_EQ(PixelBytes(*picture, 0), (Bytes{5, 1, 0, 255}));
    EXPECT_EQ(PixelBytes(*picture, 3), (Bytes{8, 4, 0, 255}));
}

TEST(PsdReader, PackedRunsAndLiteralsContinueAcrossRows) {
    PsdFields fields;
    fields.width = 3;
    fields.height = 1;
    fields.channels = 1;
    fields.compression = 1;
    const Bytes table{0, 2};  // one row byte count per row and channel, skipped
    Bytes data = table;
    data.insert(data.end(), {0xFE, 7});  // a run of three 7s
    auto picture = Decode(MakePsd(fields, data));
    ASSERT_TRUE(picture);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(PixelBytes(*picture, i)[0], 7);  // the blue byte

    data = table;
    data.insert(data.end(), {0x80, 0x02, 1, 2, 3});  // 0x80 does nothing, then three literals
    picture = Decode(MakePsd(fields, data));
    ASSERT_TRUE(picture);
    EXPECT_EQ(PixelBytes(*picture, 0)[0], 1);
    EXPECT_EQ(PixelBytes(*picture, 1)[0], 2);
    EXPECT_EQ(PixelBytes(*picture, 2)[0], 3);

    // 2 x 3, three planes: a run of five crosses two row ends; each plane starts at pixel 0.
    fields.width = 2;
    fields.height = 3;
    fields.channels = 3;
    data = Bytes(3 * 3 * 2, 0);
    data.insert(data.end(), {0xFC, 9, 0x00, 8});        // red: 9 9 9 9 9 8
    data.insert(data.end(), {0x05, 1, 2, 3, 4, 5, 6});  // green: literals
    data.insert(data.end(), {0xFB, 4});                 // blue: six 4s
    picture = Decode(MakePsd(fields, data));
    ASSERT_TRUE(picture);
    EXPECT_EQ(PixelBytes(*picture, 0), (Bytes{4, 1, 9, 255}));
    EXPECT_EQ(PixelBytes(*picture, 4), (Bytes{4, 5, 9, 255}));
    EXPECT_EQ(PixelBytes(*picture, 5), (Bytes{4, 6, 8, 255}));
}

TEST(PsdReader, RunsAndLiteralsPastThePlanesEndAreCutThere) {
    PsdFields fields;
    fields.width = 2;
    fields.height = 1;
    fields.channels = 2;
    fields.compression = 1;
    Bytes data(2 * 1 * 2, 0);
    data.insert(data.end(), {0x03, 1, 2, 3, 4});  // four literals for a plane of two
    data.insert(data.end(), {0x81, 6});           // a run of 128 for a plane of two
    auto picture = Decode(MakePsd(fields, data));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->pixels.pixels.size(), 8u);
    EXPECT_EQ(PixelBytes(*picture, 0), (Bytes{6, 1, 0, 255}));
    EXPECT_EQ(PixelBytes(*picture, 1), (Bytes{6, 2, 0, 255}));
}

TEST(PsdReader, RefusesBrokenHeadersAndShortData) {
    PsdFields good;
    good.width = 2;
    good.height = 1;
    const Bytes rgb(6, 50);
    ASSERT_TRUE(Decode(MakePsd(good, rgb)));

    auto refused = [&](auto change) {
        PsdFields fields = good;
        change(fields);
        return !Decode(MakePsd(fields, rgb));
    };
    EXPECT_TRUE(refused([](PsdFields& f) { f.version = 2; }));
    EXPECT_TRUE(refused([](PsdFields& f) { f.bits = 16; }));
    EXPECT_TRUE(refused([](PsdFields& f) { f.mode = 1; }));
    EXPECT_TRUE(refused([](PsdFields& f) { f.channels = 25; }));
    EXPECT_TRUE(refused([](PsdFields& f) { f.channels = 0; }));
    EXPECT_TRUE(refused([](PsdFields& f) { f.compression = 2; }));
    EXPECT_TRUE(refused([](PsdFields& f) { f.width = 0; }));
    // Sizes no working picture can be had for, whatever the data.
    EXPECT_TRUE(refused([](PsdFields& f) { f.width = 0xFFFFFFFF; }));
    EXPECT_TRUE(refused([](PsdFields& f) { f.height = 40000; }));
    // A side the display service makes no surface for is refused whatever the data; one at its
    // limit is read.
    PsdFields wide = good;
    wide.width = kLargestSurfaceSide;
    EXPECT_TRUE(Decode(MakePsd(wide, Bytes(3 * kLargestSurfaceSide, 50))));
    wide.width = kLargestSurfaceSide + 1;
    EXPECT_FALSE(Decode(MakePsd(wide, Bytes(3 * (kLargestSurfaceSide + 1), 50))));

    // Raw data one byte short, and every shorter cut of the whole file.
    const Bytes whole = MakePsd(good, rgb);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        EXPECT_FALSE(DecodePsd(whole.data(), size)) << size;
    }
    // A section length that passes the end of the file.
    Bytes longSection = whole;
    longSection[26 + 3] = 0x7F;
    longSection[26] = 0x7F;
    EXPECT_FALSE(Decode(longSection));

    // Packed data that ends before the last plane is done, or a literal cut by the end.
    PsdFields packed = good;
    packed.compression = 1;
    Bytes data(3 * 1 * 2, 0);
    data.insert(data.end(), {0xFF, 1, 0xFF, 2});  // red and green, no blue
    EXPECT_FALSE(Decode(MakePsd(packed, data)));
    data.insert(data.end(), {0x01, 3});  // a literal of two with one byte
    EXPECT_FALSE(Decode(MakePsd(packed, data)));
    data.push_back(3);
    EXPECT_TRUE(Decode(MakePsd(packed, data)));
    // The row count table itself missing.
    EXPECT_FALSE(Decode(MakePsd(packed, Bytes(5, 0))));
    // A huge picture claimed by a few bytes of runs is refused before any buffer is made.
    packed.width = kLargestSurfaceSide;
    packed.height = kLargestSurfaceSide;
    EXPECT_FALSE(Decode(MakePsd(packed, Bytes(3 * kLargestSurfaceSide * 2 + 4, 0x81))));
}

TEST_F(ScreenTest, PsdFilesBecomeSurfacesWithTheirAlphaMap) {
    PsdFields fields;
    fields.width = 3;
    fields.height = 2;
    fields.channels = 4;
    const Bytes red{255, 0, 0, 255, 0, 0};
    const Bytes green{0, 255, 0, 0, 255, 0};
    const Bytes blue{0, 0, 255, 0, 0, 255};
    const Bytes alpha{1, 2, 3, 4, 5, 6};
    Bytes planes = red;
    for (const Bytes* plane : {&green, &blue, &alpha}) {
        planes.insert(planes.end(), plane->begin(), plane->end());
    }
    const std::string name = scratch.Write("rgba.psd", MakePsd(fields, planes));
    CDXSurface surface;
    ASSERT_EQ(surface.CreateFromFile(screen.get(), name.c_str(), 2), 1);
    EXPECT_EQ(surface.PixelWidth, 3);
    EXPECT_EQ(surface.PixelHeight, 2);
    EXPECT_EQ(surface.ColorKey, 0u);
    EXPECT_EQ(PixelOf(surface, 0, 0), 0xF800u);
    EXPECT_EQ(PixelOf(surface, 1, 0), 0x07E0u);
    EXPECT_EQ(PixelOf(surface, 2, 1), 0x001Fu);
    ASSERT_NE(surface.AlphaMap, nullptr);
    EXPECT_EQ(surface.AlphaMap[0], 1);
    EXPECT_EQ(surface.AlphaMap[1 * 3 + 2], 6);

    fields.channels = 3;
    const std::string opaque = scratch.Write("rgb.psd", MakePsd(fields, planes));
    ASSERT_EQ(surface.CreateFromFile(screen.get(), opaque.c_str(), 2), 1);
    EXPECT_EQ(surface.AlphaMap, nullptr);

    // A PSD surface keeps its name, but after a loss only bitmaps are reloaded.
    host.LoseDisplay();
    screen->RestoreAll();
    surface.Restore();
    ASSERT_FALSE(host.DebugLines().empty());
    EXPECT_EQ(host.DebugLines().back(), "handle is null\n");
    EXPECT_EQ(PixelOf(surface, 0, 0), 0xCDCDu);

    // "8BPS" and nothing valid after it.
    const std::string broken = scratch.Write("broken.psd", {'8', 'B', 'P', 'S', 0, 2});
    CDXSurface refused;
    EXPECT_EQ(refused.CreateFromFile(screen.get(), broken.c_str(), 2), 0);
    EXPECT_FALSE(refused.Surface);
}

TEST_F(ScreenTest, ALoadWithoutAnAlphaChannelLeavesNoAlphaMap) {
    PsdFields fields;
    fields.width = 3;
    fields.height = 2;
    fields.channels = 4;
    const std::string withAlpha = scratch.Write("small.psd", MakePsd(fields, Bytes(4 * 6, 200)));
    const std::string bitmap = scratch.Write("large.bmp", MakeBmp24(64, 64, [](int x, int) {
                                                 return Rgb{static_cast<std::uint8_t>(x * 4), 0, 0};
                                             }));
    CDXSurface surface;
    ASSERT_EQ(surface.CreateFromFile(screen.get(), withAlpha.c_str(), 2), 1);
    ASSERT_NE(surface.AlphaMap, nullptr);

    // The bitmap is larger than the map the PSD left: the alpha draw must not find it.
    ASSERT_EQ(surface.CreateFromFile(screen.get(), bitmap.c_str(), 2), 1);
    EXPECT_EQ(surface.AlphaMap, nullptr);
    surface.SetColorKey();
    CDXSurface copy(screen.get(), 640, 480, 1);
    copy.Fill(0);
    EXPECT_EQ(surface.DrawAlphaMap(screen->Back, 0, 0, RECT{0, 0, 64, 64}), DDERR_GENERIC);
    surface.DrawCopyKeyed(&copy, 0, 0, RECT{0, 0, 64, 64});
    for (int x = 0; x < 64; x += 9) EXPECT_EQ(PixelOf(*screen->Back, x, 40), PixelOf(copy, x, 40));

    // Neither does a load that fails, nor a PSD reader that refuses the file.
    ASSERT_EQ(surface.CreateFromFile(screen.get(), withAlpha.c_str(), 2), 1);
    EXPECT_EQ(surface.CreateFromFile(screen.get(), scratch.Path("gone.bmp").c_str(), 2), 0);
    EXPECT_EQ(surface.AlphaMap, nullptr);
    ASSERT_EQ(surface.CreateFromFile(screen.get(), withAlpha.c_str(), 2), 1);
    EXPECT_EQ(surface.LoadPSD(screen.get(), bitmap.c_str(), 2), 0);
    EXPECT_EQ(surface.AlphaMap, nullptr);
}
