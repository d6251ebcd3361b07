// SPDX-License-Identifier: MIT
#include "platform/display/display_surface.h"

#include <gtest/gtest.h>

#include "platform/display/display_device.h"
#include "platform/display/pixel_blits.h"
#include "platform/display/pixel_format.h"
#include "platform/fake/fake_host.h"

using namespace platform;

namespace {

class DisplaySurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetHost(&host);
        ASSERT_EQ(DirectDrawCreate(nullptr, &device), DD_OK);
        ASSERT_EQ(device->SetCooperativeLevel(reinterpret_cast<HWND>(1),
                                              DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE),
                  DD_OK);
        ASSERT_EQ(device->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    }

    std::shared_ptr<DisplaySurface> Make(int width, int height,
                                         DWORD caps = DDSCAPS_OFFSCREENPLAIN) {
        DDSURFACEDESC2 desc;
        desc.dwSize = kSurfaceDescSize;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = static_cast<DWORD>(width);
        desc.dwHeight = static_cast<DWORD>(height);
        desc.ddsCaps.dwCaps = caps;
        std::shared_ptr<DisplaySurface> surface;
        EXPECT_EQ(device->CreateSurface(&desc, &surface), DD_OK);
        return surface;
    }

    static std::uint16_t Pixel(DisplaySurface& surface, int x, int y) {
        DDSURFACEDESC2 desc;
        EXPECT_EQ(surface.Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        const auto* row = static_cast<const std::uint8_t*>(desc.lpSurface) + y * desc.lPitch;
        const std::uint16_t value = static_cast<std::uint16_t>(row[2 * x] | (row[2 * x + 1] << 8));
        surface.Unlock(nullptr);
        return value;
    }

    static void Fill(DisplaySurface& surface, DWORD value, const RECT* rect = nullptr) {
        DDBLTFX effects;
        effects.dwFillColor = value;
        ASSERT_EQ(surface.Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects),
                  DD_OK);
    }

    FakeHost host;
    std::shared_ptr<DisplayDevice> device;
};

}  // namespace

TEST_F(DisplaySurfaceTest, FastCopyRefusesRectanglesOutsideEitherSurface) {
    auto source = Make(32, 32);
    auto dest = Make(64, 64);
    Fill(*dest, 0x1111);
    EXPECT_EQ(dest->BltFast(-1, 0, source.get(), nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_EQ(dest->BltFast(33, 0, source.get(), nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    RECT beyondSource{0, 0, 33, 32};
    EXPECT_EQ(dest->BltFast(0, 0, source.get(), &beyondSource, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    RECT inverted{10, 0, 5, 32};
    EXPECT_EQ(dest->BltFast(0, 0, source.get(), &inverted, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    // Nothing of a refused copy reaches the destination.
    EXPECT_EQ(Pixel(*dest, 0, 0), 0x1111);
    EXPECT_EQ(dest->BltFast(32, 32, source.get(), nullptr, DDBLTFAST_WAIT), DD_OK);
}

TEST_F(DisplaySurfaceTest, KeyedFastCopyLeavesKeyedPixelsAlone) {
    auto source = Make(2, 1);
    auto dest = Make(2, 1);
    Fill(*dest, 0x2222);
    Fill(*source, 0xF81F);
    RECT right{1, 0, 2, 1};
    Fill(*source, 0x07E0, &right);
    DDCOLORKEY key{0xF81F, 0xF81F};
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    ASSERT_EQ(dest->BltFast(0, 0, source.get(), nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
    EXPECT_EQ(Pixel(*dest, 0, 0), 0x2222);
    EXPECT_EQ(Pixel(*dest, 1, 0), 0x07E0);
}

TEST_F(DisplaySurfaceTest, PaddedRowsKeepEveryOperationInsideItsRows) {
    host.SetRowPadding(10);
    auto source = Make(5, 3);
    auto dest = Make(7, 4);
    DDSURFACEDESC2 desc;
    ASSERT_EQ(dest->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(desc.lPitch, 7 * 2 + 10);
    // Mark the padding so any write into it shows.
    auto* bytes = static_cast<std::uint8_t*>(desc.lpSurface);
    for (int y = 0; y < 4; ++y) {
        for (int i = 14; i < 24; ++i) bytes[y * desc.lPitch + i] = 0x5A;
    }
    dest->Unlock(nullptr);
    Fill(*source, 0x1234);
    Fill(*dest, 0x4321);
    ASSERT_EQ(dest->BltFast(2, 1, source.get(), nullptr, DDBLTFAST_WAIT), DD_OK);
    RECT stretched{0, 0, 7, 4};
    ASSERT_EQ(dest->Blt(&stretched, source.get(), nullptr, DDBLT_WAIT, nullptr), DD_OK);
    ASSERT_EQ(dest->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    for (int y = 0; y < 4; ++y) {
        for (int i = 14; i < 24; ++i) ASSERT_EQ(bytes[y * desc.lPitch + i], 0x5A);
    }
    dest->Unlock(nullptr);
    EXPECT_EQ(Pixel(*dest, 6, 3), 0x1234);
}

TEST_F(DisplaySurfaceTest, LostVideoMemoryRefusesWorkUntilRestored) {
    auto video = Make(4, 4, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY);
    auto chosen = Make(4, 4);
    auto system = Make(4, 4, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);
    host.LoseDisplay();
    EXPECT_EQ(video->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(chosen->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(system->IsLost(), DD_OK);
    DDSURFACEDESC2 desc;
    EXPECT_EQ(video->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACELOST);
    EXPECT_EQ(system->BltFast(0, 0, video.get(), nullptr, DDBLTFAST_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(video->Restore(), DD_OK);
    EXPECT_EQ(video->IsLost(), DD_OK);
    EXPECT_EQ(system->BltFast(0, 0, video.get(), nullptr, DDBLTFAST_WAIT), DD_OK);
}

TEST_F(DisplaySurfaceTest, LockedSurfacesAreBusyAndInjectedLockFaultsReachTheCaller) {
    auto surface = Make(4, 4);
    auto other = Make(4, 4);
    DDSURFACEDESC2 desc;
    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(other->BltFast(0, 0, surface.get(), nullptr, DDBLTFAST_WAIT), DDERR_SURFACEBUSY);
    surface->Unlock(nullptr);
    host.RefuseLocks(1, DDERR_WASSTILLDRAWING);
    EXPECT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DDERR_WASSTILLDRAWING);
    EXPECT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    surface->Unlock(nullptr);
}

// A lock asks the hooks its host has at that moment: hooks installed after the device was made
// are asked, and once the host is gone no hooks are asked at all.
TEST_F(DisplaySurfaceTest, LocksAskTheHooksTheHostHasNowAndNoneOnceItIsGone) {
    class RefuseEveryLock final : public FaultHooks {
    public:
        HRESULT LockResult() override { return DDERR_SURFACEBUSY; }
    };
    const auto surface = Make(8, 8);
    RefuseEveryLock refusing;
    InstallFaultHooks(host, &refusing);
    DDSURFACEDESC2 desc;
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    InstallFaultHooks(host, &host);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    surface->Unlock(nullptr);

    std::shared_ptr<DisplaySurface> orphan;
    {
        FakeHost leaving;
        SetHost(&leaving);
        std::shared_ptr<DisplayDevice> leavingDevice;
        ASSERT_EQ(DirectDrawCreate(nullptr, &leavingDevice), DD_OK);
        DDSURFACEDESC2 request;
        request.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        request.dwWidth = 8;
        request.dwHeight = 8;
        request.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        ASSERT_EQ(leavingDevice->CreateSurface(&request, &orphan), DD_OK);
        leaving.RefuseLocks(1, DDERR_SURFACEBUSY);
    }
    SetHost(&host);
    EXPECT_EQ(orphan->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    orphan->Unlock(nullptr);
}

TEST_F(DisplaySurfaceTest, AbsurdSizesAreRefusedWithoutAllocating) {
    DDSURFACEDESC2 desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = 0x7FFFFFFF;
    desc.dwHeight = 0x7FFFFFFF;
    std::shared_ptr<DisplaySurface> surface;
    EXPECT_EQ(device->CreateSurface(&desc, &surface), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface, nullptr);
}

TEST_F(DisplaySurfaceTest, ModeListNamesFiveFiveFiveModesByDepthFifteen) {
    std::vector<DWORD> depths;
    device->EnumDisplayModes(0, nullptr, &depths, [](DDSURFACEDESC2* mode, void* context) {
        if (mode->dwWidth == 640) {
            static_cast<std::vector<DWORD>*>(context)->push_back(
                mode->ddpfPixelFormat.dwRGBBitCount);
        }
        return DDENUMRET_OK;
    });
    EXPECT_EQ(depths, (std::vector<DWORD>{8, 15, 16, 24, 32}));
    EXPECT_EQ(device->SetDisplayMode(640, 480, 12, 0, 0), DDERR_INVALIDMODE);
}

namespace {

// A surface of the given depth, rows padded, its pixels a pattern with the key in stretches (or,
// with longRuns, only in its first two columns and here and there).
std::shared_ptr<DisplaySurface> MakeSheet(DisplayDevice& device, int depth, int width, int height,
                                          std::uint32_t key, bool longRuns = false) {
    DDSURFACEDESC2 desc;
    desc.dwSize = kSurfaceDescSize;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.ddpfPixelFormat = PixelFormatForDepth(depth);
    std::shared_ptr<DisplaySurface> sheet;
    EXPECT_EQ(device.CreateSurface(&desc, &sheet), DD_OK);
    if (!sheet) return nullptr;
    const int bytes = sheet->bytesPerPixel();
    std::uint32_t seed = 17u + static_cast<std::uint32_t>(depth);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const bool keyed =
                longRuns ? x < 2 || seed % 211 == 0 : (x / 5 + y) % 3 == 0 || seed % 11 == 0;
            WritePixel(sheet->pixels() + y * sheet->pitch() + x * bytes, bytes,
                       keyed ? key : (seed >> 8) | 1u);
        }
    }
    DDCOLORKEY range{key, key};
    EXPECT_EQ(sheet->SetColorKey(DDCKEY_SRCBLT, &range), DD_OK);
    return sheet;
}

// Copies frame of sheet to (x, y) of dest by the surface's keyed BltFast and by the plain
// per-pixel copy on a copy of dest's memory; both must agree on every byte, padding included.
// The copy is made twice (a keyed copy made again changes nothing): a sheet with long runs walks
// them from its second keyed copy after a write on.
void ExpectKeyedCopyMatchesPlain(DisplaySurface& sheet, const RECT& frame, DisplaySurface& dest,
                                 int x, int y, std::uint32_t key) {
    std::vector<std::uint8_t> expected(
        dest.pixels(), dest.pixels() + static_cast<std::size_t>(dest.pitch()) * dest.height());
    const int bytes = sheet.bytesPerPixel();
    CopyPixelsKeyedReference(
        {sheet.pixels() + frame.top * sheet.pitch() + frame.left * bytes, sheet.pitch()},
        {expected.data() + y * dest.pitch() + x * bytes, dest.pitch()}, frame.right - frame.left,
        frame.bottom - frame.top, bytes, key);
    for (int time = 0; time < 2; ++time) {
        ASSERT_EQ(dest.BltFast(x, y, &sheet, &frame, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT),
                  DD_OK);
    }
    ASSERT_EQ(std::vector<std::uint8_t>(dest.pixels(), dest.pixels() + expected.size()), expected)
        << "depth " << sheet.format().dwRGBBitCount;
}

}  // namespace

TEST_F(DisplaySurfaceTest, KeyedCopiesFollowEveryChangeOfTheSheetsPixels) {
    host.SetRowPadding(6);
    for (const auto& [depth, longRuns] :
         {std::pair{8, false}, {16, false}, {24, false}, {32, false}, {16, true}, {32, true}}) {
        SCOPED_TRACE(longRuns ? "long runs" : "short runs");
        const std::uint32_t key = 0x00A0B0C0u & (depth == 32 ? 0xFFFFFFFFu : (1u << depth) - 1u);
        const int sheetWidth = longRuns ? 200 : 96;
        auto sheet = MakeSheet(*device, depth, sheetWidth, 40, key, longRuns);
        auto dest = MakeSheet(*device, depth, 80, 50, key ^ 0x10u);
        auto other = MakeSheet(*device, depth, sheetWidth, 40, key ^ 0x20u, longRuns);
        ASSERT_TRUE(sheet && dest && other);
        const RECT frame{32, 4, 64, 36};
        ExpectKeyedCopyMatchesPlain(*sheet, frame, *dest, 3, 5, key);
        ExpectKeyedCopyMatchesPlain(*sheet, RECT{61, 0, 96, 40}, *dest, 45, 10, key);

        // Draws into the sheet after its runs were found: a fill with the key and with a
        // colour, a plain copy, a keyed copy from another surface, and a write through a lock.
        DDBLTFX effects;
        effects.dwFillColor = key;
        RECT hole{40, 10, 50, 30};
        ASSERT_EQ(sheet->Blt(&hole, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects),
                  DD_OK);
        ExpectKeyedCopyMatchesPlain(*sheet, frame, *dest, 3, 5, key);
        effects.dwFillColor = key ^ 0x3u;
        RECT block{30, 0, 70, 8};
        ASSERT_EQ(sheet->Blt(&block, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects),
                  DD_OK);
        ExpectKeyedCopyMatchesPlain(*sheet, frame, *dest, 7, 1, key);
        RECT from{0, 0, 40, 20};
        ASSERT_EQ(sheet->BltFast(33, 12, other.get(), &from, DDBLTFAST_WAIT), DD_OK);
        ExpectKeyedCopyMatchesPlain(*sheet, frame, *dest, 0, 0, key);
        ASSERT_EQ(sheet->BltFast(30, 2, other.get(), &from, DDBLTFAST_SRCCOLORKEY), DD_OK);
        ExpectKeyedCopyMatchesPlain(*sheet, frame, *dest, 40, 12, key);
        DDSURFACEDESC2 desc;
        ASSERT_EQ(sheet->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        auto* pixels = static_cast<std::uint8_t*>(desc.lpSurface);
        for (int x = 32; x < 64; ++x)
            WritePixel(pixels + 20 * desc.lPitch + x * sheet->bytesPerPixel(),
                       sheet->bytesPerPixel(), x % 2 ? key : 0x12u);
        ASSERT_EQ(sheet->Unlock(nullptr), DD_OK);
        ExpectKeyedCopyMatchesPlain(*sheet, frame, *dest, 9, 9, key);

        // A new key, then a loss: the restored sheet's pattern has no key pixel at all.
        const std::uint32_t newKey = 0x12u;
        DDCOLORKEY range{newKey, newKey};
        ASSERT_EQ(sheet->SetColorKey(DDCKEY_SRCBLT, &range), DD_OK);
        ExpectKeyedCopyMatchesPlain(*sheet, frame, *dest, 9, 9, newKey);
        sheet->MarkLost();
        EXPECT_EQ(dest->BltFast(0, 0, sheet.get(), &frame, DDBLTFAST_SRCCOLORKEY),
                  DDERR_SURFACELOST);
        ASSERT_EQ(sheet->Restore(), DD_OK);
        ExpectKeyedCopyMatchesPlain(*sheet, frame, *dest, 1, 2, newKey);

        // A keyed copy within the sheet itself, overlapping, reads the pixels as they were.
        std::vector<std::uint8_t> expected(sheet->pixels(), sheet->pixels() + sheet->pitch() * 40);
        const std::vector<std::uint8_t> before = expected;
        const int bytes = sheet->bytesPerPixel();
        CopyPixelsKeyedReference(
            {before.data() + 4 * sheet->pitch() + 32 * bytes, sheet->pitch()},
            {expected.data() + 6 * sheet->pitch() + 40 * bytes, sheet->pitch()}, 32, 32, bytes,
            newKey);
        ASSERT_EQ(sheet->BltFast(40, 6, sheet.get(), &frame, DDBLTFAST_SRCCOLORKEY), DD_OK);
        EXPECT_EQ(std::vector<std::uint8_t>(sheet->pixels(), sheet->pixels() + expected.size()),
                  expected);
    }
}
