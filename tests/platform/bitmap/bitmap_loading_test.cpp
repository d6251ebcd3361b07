// SPDX-License-Identifier: MIT
// Bitmaps by name: resources before files, pictures at their own size in the display's
// format, the reload after a loss with its debugger lines, and the default palette.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "cdx/image/cdximage.h"
#include "platform/display/pixel_format.h"
#include "platform/host/window.h"
#include "test_pictures.h"

using namespace cdx;

using namespace platform;
using namespace testpictures;

namespace {

Rgb Red(int, int) {
    return {255, 0, 0};
}
Rgb Blue(int, int) {
    return {0, 0, 255};
}
// Every pixel different: the row in green, the column in red and blue.
Rgb Ramp(int x, int y) {
    return {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 3),
            static_cast<std::uint8_t>(255 - x)};
}

}  // namespace

TEST_F(ScreenTest, ABitmapFileLoadsAtItsOwnSizeInTheDisplaysFormat) {
    const std::string name = scratch.Write("hud.bmp", MakeBmp24(146, 476, Ramp));
    CDXSurface surface;
    ASSERT_EQ(surface.CreateFromFile(screen.get(), name.c_str(), 2), 1);
    EXPECT_EQ(surface.PixelWidth, 146);
    EXPECT_EQ(surface.PixelHeight, 476);
    EXPECT_EQ(surface.ImageName, name.c_str());
    EXPECT_EQ(surface.ColorKey, 0u);
    EXPECT_EQ(surface.ClipRect.right, 146);
    EXPECT_EQ(surface.SrcRect.bottom, 476);
    EXPECT_EQ(surface.PixelFormat.BitDepth, 16u);
    EXPECT_EQ(surface.Desc.dwWidth, 146u);
    for (const auto& [x, y] : {std::pair{0, 0}, {145, 0}, {17, 300}, {145, 475}}) {
        const Rgb c = Ramp(x, y);
        EXPECT_EQ(PixelOf(surface, x, y), Pixel565(c.red, c.green, c.blue)) << x << "," << y;
    }
    surface.SetColorKey();
    EXPECT_EQ(surface.ColorKey, Pixel565(0, 0, 255));
}

TEST_F(ScreenTest, ANameThatIsBothAResourceAndAFileLoadsTheResource) {
    static const std::vector<std::uint8_t> resourceBytes = MakeBmp24(4, 2, Red);
    const std::string name = scratch.Write("both.bmp", MakeBmp24(3, 3, Blue));
    const Resource resources[] = {
        {name.c_str(), ResourceKind::Bitmap, resourceBytes.data(), resourceBytes.size()}};
    RegisterResources(resources);
    CDXSurface surface;
    ASSERT_EQ(surface.CreateFromFile(screen.get(), name.c_str(), 2), 1);
    EXPECT_EQ(surface.PixelWidth, 4);
    EXPECT_EQ(PixelOf(surface, 0, 0), 0xF800u);
    RegisterResources({});

    ASSERT_EQ(surface.CreateFromFile(screen.get(), name.c_str(), 2), 1);
    EXPECT_EQ(surface.PixelWidth, 3);
    EXPECT_EQ(PixelOf(surface, 0, 0), 0x001Fu);
}

TEST_F(ScreenTest, MissingOrUnreadablePicturesLeaveNoSurface) {
    CDXSurface surface;
    EXPECT_EQ(surface.CreateFromFile(screen.get(), nullptr, 2), 0);
    EXPECT_EQ(surface.CreateFromFile(screen.get(), scratch.Path("none.bmp").c_str(), 2), 0);
    const std::string text = scratch.Write("text.bmp", {'h', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(surface.CreateFromFile(screen.get(), text.c_str(), 2), 0);
    // A bitmap header that promises more than the file holds.
    std::vector<std::uint8_t> cut = MakeBmp24(40, 40, Red);
    cut.resize(200);
    const std::string truncated = scratch.Write("cut.bmp", cut);
    EXPECT_EQ(surface.CreateFromFile(screen.get(), truncated.c_str(), 2), 0);
    EXPECT_FALSE(surface.Surface);

    // Such a surface is safe to key, lock and draw with: each call refuses.
    surface.SetColorKey();
    EXPECT_NE(surface.Lock(), DD_OK);
    EXPECT_NE(surface.DrawCopyKeyed(screen->Back, 0, 0, RECT{0, 0, 32, 32}), DD_OK);

    // A picture larger than any surface the service makes.
    const std::string huge = scratch.Write("huge.bmp", MakeBmp24(16385, 1, Red));
    EXPECT_EQ(surface.CreateFromFile(screen.get(), huge.c_str(), 2), 0);

    // Nothing but a regular file is read, as a bitmap or as a PSD: not a folder, not a device
    // that never ends, not a FIFO without a writer (whose plain open waits for one).
    const std::string folder = scratch.Path("folder.bmp");
    const std::string fifo = scratch.Path("fifo.psd");
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& name : {folder, std::string("/dev/zero"), fifo}) {
        EXPECT_FALSE(LoadBitmapByName(name.c_str())) << name;
        EXPECT_EQ(surface.CreateFromFile(screen.get(), name.c_str(), 2), 0) << name;
        EXPECT_FALSE(surface.Surface) << name;
        EXPECT_EQ(surface.LoadPSD(screen.get(), name.c_str(), 2), 0) << name;
    }
}

TEST_F(ScreenTest, PicturesWhoseHeadersClaimMoreThanTheirDataAreRefused) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } refused[] = {
        // A side one pixel beyond the largest display surface (the header tests hold the
        // claims that would cost gigabytes, which this test must not risk decoding).
        {"wide.bmp", MakeBmp({16385, 1, 8, 1}, {0, 1})},
        // Four packed bytes for four million pixels.
        {"packed.bmp", MakeBmp({2048, 2048, 8, 1}, {0, 0, 0, 1})},
        // Top-down rows that are not there.
        {"topdown.bmp", MakeBmp({300, -300, 24, 0}, {1, 2, 3, 4})},
    };
    for (const auto& file : refused) {
        EXPECT_FALSE(DecodeBitmap(file.bytes.data(), file.bytes.size())) << file.name;
        const std::string path = scratch.Write(file.name, file.bytes);
        EXPECT_FALSE(LoadBitmapByName(path.c_str())) << file.name;
        CDXSurface surface;
        EXPECT_EQ(surface.CreateFromFile(screen.get(), path.c_str(), 2), 0) << file.name;
        EXPECT_FALSE(surface.Surface) << file.name;
    }

    // A packed picture that is mostly its background still loads: 256 x 256 from a run of
    // four white pixels on its bottom row and the end of the picture.
    const std::string blank = scratch.Write("blank.bmp", MakeBmp({256, 256, 8, 1}, {4, 255, 0, 1}));
    CDXSurface surface;
    ASSERT_EQ(surface.CreateFromFile(screen.get(), blank.c_str(), 2), 1);
    EXPECT_EQ(surface.PixelWidth, 256);
    EXPECT_EQ(PixelOf(surface, 0, 0), 0u);
    EXPECT_EQ(PixelOf(surface, 3, 255), 0xFFFFu);
    EXPECT_EQ(PixelOf(surface, 4, 255), 0u);
}

TEST_F(ScreenTest, AnImageSurfaceGetsItsPictureBackAfterALoss) {
    const std::string name = scratch.Write("sheet.bmp", MakeBmp24(8, 8, Ramp));
    CDXSurface surface;
    ASSERT_EQ(surface.CreateFromFile(screen.get(), name.c_str(), 0), 1);
    const std::uint32_t before = PixelOf(surface, 5, 6);

    host.LoseDisplay();
    screen->RestoreAll();
    // A draw from the lost sheet restores it, reloading the picture; the draw is not repeated.
    EXPECT_EQ(surface.DrawCopy(screen->Back, 0, 0, RECT{0, 0, 8, 8}), DDERR_SURFACELOST);
    EXPECT_EQ(PixelOf(surface, 5, 6), before);
    EXPECT_TRUE(host.DebugLines().empty());

    // Once the file is gone the reload fails with its debugger line, and so does a copy the
    // surface refuses.
    std::filesystem::remove(name);
    surface.Restore();
    ASSERT_EQ(host.DebugLines().size(), 1u);
    EXPECT_EQ(host.DebugLines()[0], "handle is null\n");

    const std::string again = scratch.Write("again.bmp", MakeBmp24(2, 2, Red));
    host.RefuseLocks(1, DDERR_SURFACEBUSY);
    EXPECT_EQ(ReloadBitmap(surface.Surface.get(), again.c_str()), DDERR_SURFACEBUSY);
    EXPECT_EQ(host.DebugLines().back(), "ddcopybitmap failed\n");
    // The good reload stretches the 2 x 2 picture over the whole 8 x 8 surface.
    EXPECT_EQ(ReloadBitmap(surface.Surface.get(), again.c_str()), DD_OK);
    EXPECT_EQ(PixelOf(surface, 7, 7), 0xF800u);

    EXPECT_EQ(CopyBitmap(nullptr, nullptr, 0, 0, 0, 0), DDERR_GENERIC);
    EXPECT_EQ(CopyBitmap(surface.Surface.get(), nullptr, 0, 0, 0, 0), DDERR_GENERIC);
}

TEST_F(ScreenTest, CopyBitmapStretchesAPartOfThePicture) {
    CDXSurface surface(screen.get(), 4, 4, 1);
    auto bitmap = LoadBitmapByName(scratch.Write("ramp.bmp", MakeBmp24(10, 10, Ramp)).c_str());
    ASSERT_TRUE(bitmap);
    // The 2 x 2 part at (6, 3) doubled: surface (3, 3) shows picture (7, 4).
    ASSERT_EQ(CopyBitmap(surface.Surface.get(), bitmap.get(), 6, 3, 2, 2), DD_OK);
    const Rgb c = Ramp(7, 4);
    EXPECT_EQ(PixelOf(surface, 3, 3), Pixel565(c.red, c.green, c.blue));
    // A part reaching outside the picture is refused.
    EXPECT_EQ(CopyBitmap(surface.Surface.get(), bitmap.get(), 6, 3, 5, 2), DDERR_INVALIDRECT);
    EXPECT_EQ(CopyBitmap(surface.Surface.get(), bitmap.get(), -1, 0, 0, 0), DDERR_INVALIDRECT);
}

TEST(PictureFormats, EightBitTargetsTakeTheNearestPaletteEntry) {
    Bitmap bitmap;
    bitmap.width = 3;
    bitmap.height = 1;
    // Blue, green, red, alpha.
    bitmap.pixels = {0, 0, 250, 255, 10, 240, 10, 255, 100, 100, 100, 255};
    PALETTEENTRY palette[256];
    for (auto& entry : palette) entry = {255, 255, 255, 0};
    palette[7] = {255, 0, 0, 0};
    palette[9] = {0, 255, 0, 0};
    palette[200] = {90, 90, 90, 0};
    std::uint8_t row[3] = {};
    StretchBitmapPixels(bitmap, RECT{0, 0, 3, 1}, PixelSpan{row, 3}, 3, 1, PixelFormatForDepth(8),
                        palette);
    EXPECT_EQ(row[0], 7);
    EXPECT_EQ(row[1], 9);
    EXPECT_EQ(row[2], 200);
    // Without a palette: the 3-3-2 colour cube.
    StretchBitmapPixels(bitmap, RECT{0, 0, 3, 1}, PixelSpan{row, 3}, 3, 1, PixelFormatForDepth(8),
                        nullptr);
    EXPECT_EQ(row[0], 0xE0);
    EXPECT_EQ(row[2], (3 << 5) | (3 << 2) | 1);
}

TEST(PictureFormats, FifteenBitTargetsKeepFiveBitsOfEachChannel) {
    Bitmap bitmap;
    bitmap.width = 1;
    bitmap.height = 1;
    bitmap.pixels = {0x18, 0xFF, 0x87, 255};
    std::uint16_t pixel = 0;
    DDPIXELFORMAT format;
    format.dwFlags = DDPF_RGB;
    format.dwRGBBitCount = 16;
    format.dwRBitMask = 0x7C00;
    format.dwGBitMask = 0x03E0;
    format.dwBBitMask = 0x001F;
    StretchBitmapPixels(bitmap, RECT{0, 0, 1, 1},
                        PixelSpan{reinterpret_cast<std::uint8_t*>(&pixel), 2}, 1, 1, format,
                        nullptr);
    EXPECT_EQ(pixel, (0x87 >> 3) << 10 | (0xFF >> 3) << 5 | (0x18 >> 3));
}

TEST_F(ScreenTest, TheDefaultPaletteIsTheThreeThreeTwoColourCube) {
    const auto palette = LoadDefaultPalette(*screen->DirectDraw);
    ASSERT_TRUE(palette);
    const PALETTEENTRY* entries = palette->Entries();
    auto expect = [&](int index, int red, int green, int blue) {
        EXPECT_EQ(entries[index].peRed, red) << index;
        EXPECT_EQ(entries[index].peGreen, green) << index;
        EXPECT_EQ(entries[index].peBlue, blue) << index;
        EXPECT_EQ(entries[index].peFlags, 0) << index;
    };
    expect(0, 0, 0, 0);
    expect(255, 255, 255, 255);
    expect(0xE0, 255, 0, 0);
    expect(0x1C, 0, 255, 0);
    expect(0x03, 0, 0, 255);
    expect(0x92, 145, 145, 170);
}
