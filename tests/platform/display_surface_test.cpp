#include "display_surface.h"

#include <gtest/gtest.h>

#include "display_device.h"
#include "fake_host.h"

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

    std::shared_ptr<DisplaySurface> Make(int width, int height, DWORD caps = DDSCAPS_OFFSCREENPLAIN) {
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
        ASSERT_EQ(surface.Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects), DD_OK);
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
            static_cast<std::vector<DWORD>*>(context)->push_back(mode->ddpfPixelFormat.dwRGBBitCount);
        }
        return DDENUMRET_OK;
    });
    EXPECT_EQ(depths, (std::vector<DWORD>{8, 15, 16, 24, 32}));
    EXPECT_EQ(device->SetDisplayMode(640, 480, 12, 0, 0), DDERR_INVALIDMODE);
}
