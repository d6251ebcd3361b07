// SPDX-License-Identifier: MIT
// The bitmap service's own ways against its general ones, bit for bit: the direct decoding of
// unpacked 24-bit and 8-bit files against SDL's loader, the unscaled copy onto a surface's
// pixels against the per-pixel stretch, and pictures loaded by name and copied onto surfaces a
// few rows at a time against SDL's decoding stretched onto them.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "cdx/surface/cdxscreen.h"
#include "cdx/surface/cdxsurface.h"
#include "platform/bitmap/bitmap_header.h"
#include "platform/bitmap/bitmap_service.h"
#include "platform/bitmap/loaded_bitmap.h"
#include "platform/bitmap/unpacked_bitmap.h"
#include "platform/display/pixel_format.h"
#include "platform/fake/fake_host.h"
#include "test_pictures.h"

using namespace platform;

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// An unpacked bitmap file whose every header field and byte of pixel data is chosen: pixel data
// and colour table bytes are random.
struct FileLayout {
    int width = 1;
    int height = 1;
    bool topDown = false;
    int bits = 24;
    std::uint32_t infoBytes = 40;
    std::uint32_t coloursUsed = 0;   // the header's field
    std::uint32_t tableEntries = 0;  // entries actually written
    std::uint32_t gap = 0;           // bytes between the colour table and the pixel data
    int largestIndex = 255;          // 8 bits: pixel values from 0 to this
};

std::vector<std::uint8_t> MakeFile(const FileLayout& layout, std::mt19937& random) {
    const std::uint32_t rowBytes =
        (static_cast<std::uint32_t>(layout.width) * layout.bits + 31) / 32 * 4;
    const std::uint32_t pixelOffset = 14 + layout.infoBytes + layout.tableEntries * 4 + layout.gap;
    std::vector<std::uint8_t> out{'B', 'M'};
    Put32(out, pixelOffset + rowBytes * static_cast<std::uint32_t>(layout.height));
    Put32(out, 0);
    Put32(out, pixelOffset);
    Put32(out, layout.infoBytes);
    Put32(out, static_cast<std::uint32_t>(layout.width));
    Put32(out, static_cast<std::uint32_t>(layout.topDown ? -layout.height : layout.height));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(layout.bits));
    Put32(out, 0);  // no compression
    Put32(out, 0);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, layout.coloursUsed);
    Put32(out, 0);
    out.resize(14 + layout.infoBytes);
    std::uniform_int_distribution<int> byte(0, 255);
    for (std::uint32_t i = 0; i < layout.tableEntries * 4 + layout.gap; ++i) {
        out.push_back(static_cast<std::uint8_t>(byte(random)));
    }
    std::uniform_int_distribution<int> index(0, layout.largestIndex);
    for (int y = 0; y < layout.height; ++y) {
        for (std::uint32_t i = 0; i < rowBytes; ++i) {
            const bool pixelByte = i < static_cast<std::uint32_t>(layout.width) * layout.bits / 8;
            const bool indexed = layout.bits == 8 && pixelByte;
            out.push_back(static_cast<std::uint8_t>(indexed ? index(random) : byte(random)));
        }
    }
    return out;
}

// Whether both decoders agree on the file: both refuse it, or both give the same pixels.
void ExpectSameAsSdl(const std::vector<std::uint8_t>& file, const char* what) {
    const auto direct = DecodeBitmap(file.data(), file.size());
    const auto sdl = DecodeBitmapWithSdl(file.data(), file.size());
    ASSERT_EQ(direct != nullptr, sdl != nullptr) << what;
    if (!direct) return;
    EXPECT_EQ(direct->width, sdl->width) << what;
    EXPECT_EQ(direct->height, sdl->height) << what;
    EXPECT_TRUE(direct->pixels == sdl->pixels) << what;
}

bool TakenDirectly(const std::vector<std::uint8_t>& file) {
    const auto header = ReadBitmapHeader(file.data(), file.size());
    return header && IsUnpackedBitmap(file.data(), file.size(), *header);
}

}  // namespace

TEST(DirectBitmapDecoding, Unpacked24BitFilesDecodeAsSdlDecodesThem) {
    std::mt19937 random(24);
    // Every row padding (widths 1 to 9), both row orders, the later header sizes, and a gap
    // before the pixel data.
    for (int width : {1, 2, 3, 4, 5, 6, 7, 8, 9, 33, 146}) {
        for (bool topDown : {false, true}) {
            for (std::uint32_t infoBytes : {40u, 108u, 124u}) {
                FileLayout layout;
                layout.width = width;
                layout.height = 1 + width % 5;
                layout.topDown = topDown;
                layout.infoBytes = infoBytes;
                layout.gap = static_cast<std::uint32_t>(width % 3) * 2;
                const auto file = MakeFile(layout, random);
                ASSERT_TRUE(TakenDirectly(file)) << width;
                ExpectSameAsSdl(file, "24 bits");
            }
        }
    }
}

TEST(DirectBitmapDecoding, Unpacked8BitFilesDecodeAsSdlDecodesThem) {
    std::mt19937 random(8);
    struct Table {
        std::uint32_t coloursUsed;
        std::uint32_t entries;
    };
    // A whole table said as 0 and as 256, and shorter tables that every pixel stays inside.
    for (const Table table :
         {Table{0, 256}, Table{256, 256}, Table{2, 2}, Table{16, 16}, Table{200, 200}}) {
        for (int width : {1, 3, 4, 5, 7, 64}) {
            for (bool topDown : {false, true}) {
                FileLayout layout;
                layout.bits = 8;
                layout.width = width;
                layout.height = 2 + width % 3;
                layout.topDown = topDown;
                layout.infoBytes = width % 2 == 0 ? 40 : 124;
                layout.coloursUsed = table.coloursUsed;
                layout.tableEntries = table.entries;
                layout.gap = topDown ? 4 : 0;
                layout.largestIndex = static_cast<int>(table.entries) - 1;
                const auto file = MakeFile(layout, random);
                ASSERT_TRUE(TakenDirectly(file)) << table.coloursUsed << " " << width;
                ExpectSameAsSdl(file, "8 bits");
            }
        }
    }
}

TEST(DirectBitmapDecoding, UnusualFilesAreLeftToSdlAndComeOutAsItDecodesThem) {
    std::mt19937 random(3);
    FileLayout outsideTable;
    outsideTable.bits = 8;
    outsideTable.width = 9;
    outsideTable.height = 4;
    outsideTable.coloursUsed = 4;
    outsideTable.tableEntries = 4;
    outsideTable.largestIndex = 9;
    FileLayout tableTooLarge = outsideTable;
    tableTooLarge.coloursUsed = 300;
    tableTooLarge.tableEntries = 4;
    tableTooLarge.largestIndex = 3;
    // The pixel data starts inside the colour table the header promises.
    FileLayout tableCutShort = outsideTable;
    tableCutShort.coloursUsed = 0;
    tableCutShort.tableEntries = 16;
    tableCutShort.largestIndex = 15;
    FileLayout os2Header;
    os2Header.infoBytes = 64;
    os2Header.width = 5;
    FileLayout sixteenBits;
    sixteenBits.bits = 16;
    sixteenBits.width = 5;
    for (const FileLayout& layout :
         {outsideTable, tableTooLarge, tableCutShort, os2Header, sixteenBits}) {
        const auto file = MakeFile(layout, random);
        EXPECT_FALSE(TakenDirectly(file)) << layout.bits << " " << layout.coloursUsed;
        ExpectSameAsSdl(file, "left to SDL");
    }
}

TEST(DirectBitmapDecoding, TruncatedFilesAreRefusedBeforeEitherDecoder) {
    std::mt19937 random(5);
    FileLayout layout;
    layout.bits = 8;
    layout.width = 6;
    layout.height = 3;
    layout.tableEntries = 256;
    auto file = MakeFile(layout, random);
    file.pop_back();
    EXPECT_FALSE(DecodeBitmap(file.data(), file.size()));
    file.resize(14 + 40 + 100);
    EXPECT_FALSE(DecodeBitmap(file.data(), file.size()));
}

namespace {

// A picture of random pixels; the alpha bytes are random too, as nothing may read them.
Bitmap RandomBitmap(int width, int height, std::mt19937& random) {
    Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.resize(static_cast<std::size_t>(width) * height * 4);
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& value : bitmap.pixels) value = static_cast<std::uint8_t>(byte(random));
    return bitmap;
}

DDPIXELFORMAT MaskedFormat(DWORD bits, DWORD red, DWORD green, DWORD blue) {
    DDPIXELFORMAT format = PixelFormatForDepth(bits == 16 ? 16 : 32);
    format.dwRGBBitCount = bits;
    format.dwRBitMask = red;
    format.dwGBitMask = green;
    format.dwBBitMask = blue;
    return format;
}

}  // namespace

TEST(UnscaledBitmapCopy, EveryFormatMatchesThePerPixelStretch) {
    std::mt19937 random(16);
    std::vector<PALETTEENTRY> palette(256);
    std::uniform_int_distribution<int> byte(0, 255);
    for (PALETTEENTRY& entry : palette) {
        entry.peRed = static_cast<std::uint8_t>(byte(random));
        entry.peGreen = static_cast<std::uint8_t>(byte(random));
        entry.peBlue = static_cast<std::uint8_t>(byte(random));
    }
    struct Target {
        const char* name;
        DDPIXELFORMAT format;
        const PALETTEENTRY* palette;
    };
    const Target targets[] = {
        {"565", PixelFormatForDepth(16), nullptr},
        {"555", PixelFormatForDepth(15), nullptr},
        {"8 with a palette", PixelFormatForDepth(8), palette.data()},
        {"8 without a palette", PixelFormatForDepth(8), nullptr},
        {"24", PixelFormatForDepth(24), nullptr},
        {"32", PixelFormatForDepth(32), nullptr},
        {"16-bit 4-4-4", MaskedFormat(16, 0x0F00, 0x00F0, 0x000F), nullptr},
        {"16-bit blue on top", MaskedFormat(16, 0x001F, 0x07E0, 0xF800), nullptr},
    };
    const Bitmap bitmap = RandomBitmap(37, 23, random);
    // The whole picture, and parts clipped on every side with odd widths.
    const RECT parts[] = {{0, 0, 37, 23}, {3, 5, 20, 6}, {36, 22, 37, 23}, {1, 0, 36, 23}};
    for (const Target& target : targets) {
        const int bytesPerPixel = BytesPerPixel(target.format.dwRGBBitCount);
        for (const RECT& part : parts) {
            const int width = part.right - part.left;
            const int height = part.bottom - part.top;
            // Rows padded, and starting one byte in: neither may be taken for granted.
            const int pitch = width * bytesPerPixel + 5;
            std::vector<std::uint8_t> copied(static_cast<std::size_t>(pitch) * height + 1, 0xA5);
            std::vector<std::uint8_t> stretched = copied;
            CopyBitmapPixels(bitmap, part, PixelSpan{copied.data() + 1, pitch}, target.format,
                             target.palette);
            StretchBitmapPixelsPerPixel(bitmap, part, PixelSpan{stretched.data() + 1, pitch}, width,
                                        height, target.format, target.palette);
            EXPECT_TRUE(copied == stretched) << target.name << " part " << part.left << ","
                                             << part.top << " " << width << "x" << height;
        }
    }
}

namespace {

// The bytes of a locked surface's rows, padding left out.
std::vector<std::uint8_t> SurfaceBytes(cdx::CDXSurface& surface) {
    std::vector<std::uint8_t> bytes;
    if (surface.Lock() != DD_OK) return bytes;
    const auto* rows = static_cast<const std::uint8_t*>(surface.Desc.lpSurface);
    const std::size_t rowBytes =
        static_cast<std::size_t>(surface.PixelWidth) * BytesPerPixel(surface.PixelFormat.BitDepth);
    for (int y = 0; y < surface.PixelHeight; ++y) {
        const std::uint8_t* row = rows + static_cast<std::ptrdiff_t>(y) * surface.Desc.lPitch;
        bytes.insert(bytes.end(), row, row + rowBytes);
    }
    surface.Unlock();
    return bytes;
}

}  // namespace

TEST(LoadedBitmapCopy, PicturesCopiedRowsAtATimeMatchSdlsDecodingOnEveryDepth) {
    std::mt19937 random(32);
    testpictures::ScratchFolder scratch;
    // Several batches of rows and a last one cut short (1,000 pixels a row), a picture in one
    // batch, both row orders, 24 and 8 bits, and a kind left to SDL (16 bits).
    FileLayout wide;
    wide.width = 1000;
    wide.height = 41;
    FileLayout narrow8;
    narrow8.bits = 8;
    narrow8.width = 37;
    narrow8.height = 23;
    narrow8.topDown = true;
    narrow8.tableEntries = 256;
    FileLayout shortTable = narrow8;
    shortTable.topDown = false;
    shortTable.coloursUsed = 20;
    shortTable.tableEntries = 20;
    shortTable.largestIndex = 19;
    FileLayout sixteen;
    sixteen.bits = 16;
    sixteen.width = 13;
    sixteen.height = 7;
    for (int depth : {8, 15, 16, 24, 32}) {
        platform::FakeHost host;
        SetHost(&host);
        host.SetRowPadding(6);
        cdx::CDXScreen screen;
        ASSERT_EQ(screen.CreateFullScreen(reinterpret_cast<HWND>(1), 640, 480, depth, 0), 1);
        int fileNumber = 0;
        for (const FileLayout& layout : {wide, narrow8, shortTable, sixteen}) {
            const std::vector<std::uint8_t> bytes = MakeFile(layout, random);
            const std::string name =
                scratch.Write("picture" + std::to_string(fileNumber++) + ".bmp", bytes);
            const auto loaded = LoadedBitmap::Load(name.c_str());
            const auto decoded = DecodeBitmapWithSdl(bytes.data(), bytes.size());
            ASSERT_TRUE(loaded && decoded) << name;
            ASSERT_EQ(loaded->width(), decoded->width);
            ASSERT_EQ(loaded->height(), decoded->height);
            // At the picture's own size, and stretched over a surface of another size.
            for (const auto& [width, height] :
                 {std::pair{layout.width, layout.height}, std::pair{layout.width / 2 + 3, 50}}) {
                cdx::CDXSurface copied(&screen, width, height, 1);
                cdx::CDXSurface stretched(&screen, width, height, 1);
                ASSERT_EQ(loaded->CopyToSurface(*copied.Surface, nullptr), DD_OK);
                ASSERT_EQ(StretchBitmapToSurface(*stretched.Surface, *decoded, 0, 0, 0, 0, nullptr),
                          DD_OK);
                EXPECT_TRUE(SurfaceBytes(copied) == SurfaceBytes(stretched))
                    << "depth " << depth << ", " << layout.bits << " bits, " << width << "x"
                    << height;
            }
        }
    }
}

TEST(LoadedBitmapCopy, MissingAndRefusedFilesLoadNothingAndLockRefusalsAreReported) {
    testpictures::ScratchFolder scratch;
    EXPECT_FALSE(LoadedBitmap::Load(nullptr));
    EXPECT_FALSE(LoadedBitmap::Load(scratch.Path("none.bmp").c_str()));
    std::mt19937 random(7);
    FileLayout layout;
    layout.width = 9;
    layout.height = 4;
    std::vector<std::uint8_t> bytes = MakeFile(layout, random);
    bytes.pop_back();
    EXPECT_FALSE(LoadedBitmap::Load(scratch.Write("cut.bmp", bytes).c_str()));

    platform::FakeHost host;
    SetHost(&host);
    cdx::CDXScreen screen;
    ASSERT_EQ(screen.CreateFullScreen(reinterpret_cast<HWND>(1), 640, 480, 16, 0), 1);
    const auto loaded =
        LoadedBitmap::Load(scratch.Write("whole.bmp", MakeFile(layout, random)).c_str());
    ASSERT_TRUE(loaded);
    cdx::CDXSurface surface(&screen, 9, 4, 1);
    host.RefuseLocks(1, DDERR_SURFACEBUSY);
    EXPECT_EQ(loaded->CopyToSurface(*surface.Surface, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(loaded->CopyToSurface(*surface.Surface, nullptr), DD_OK);
}
