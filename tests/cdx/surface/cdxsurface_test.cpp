// SPDX-License-Identifier: MIT
#include "cdx/surface/cdxsurface.h"

#include <gtest/gtest.h>

#include "cdx/surface/cdxscreen.h"
#include "platform/display/pixel_format.h"
#include "platform/fake/fake_host.h"

using namespace cdx;

using namespace platform;

namespace {

class SurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetHost(&host);
        host.SetRowPadding(6);  // no surface operation may take pitch for width x bytes
        screen = std::make_unique<CDXScreen>();
        ASSERT_EQ(screen->CreateFullScreen(reinterpret_cast<HWND>(1), 640, 480, 16, 0), 1);
    }

    std::uint32_t PixelOf(CDXSurface& surface, int x, int y) {
        EXPECT_EQ(surface.Lock(), DD_OK);
        const std::uint32_t value = surface.GetPixel(x, y);
        surface.Unlock();
        return value;
    }

    FakeHost host;
    std::unique_ptr<CDXScreen> screen;
};

}  // namespace

TEST(PixelFormat, SixteenBitMasksTellFiveFiveFiveFromFiveSixFive) {
    CDXPixelFormat format;
    DescribePixelFormat(PixelFormatForDepth(15), format);
    EXPECT_EQ(format.BitDepth, 15u);
    EXPECT_EQ(format.RedShift, 10);
    EXPECT_EQ(format.GreenShift, 5);
    EXPECT_EQ(format.BlueShift, 0);
    EXPECT_EQ(format.RedMask, 0x1F);
    EXPECT_EQ(format.GreenMask, 0x1F);
    EXPECT_EQ(format.BlueMask, 0x1F);

    DescribePixelFormat(PixelFormatForDepth(16), format);
    EXPECT_EQ(format.BitDepth, 16u);
    EXPECT_EQ(format.GreenMask, 0x3F);
    EXPECT_EQ(format.RedShift, 11);

    DescribePixelFormat(PixelFormatForDepth(8), format);
    EXPECT_EQ(format.BitDepth, 8u);
    EXPECT_EQ(format.RedMask + format.GreenMask + format.BlueMask, 0);
    EXPECT_EQ(format.RedShift + format.GreenShift + format.BlueShift, 0);

    DDPIXELFORMAT twelve = PixelFormatForDepth(16);
    twelve.dwRGBBitCount = 12;
    DescribePixelFormat(twelve, format);
    EXPECT_EQ(format.BitDepth, 0u);
    DDPIXELFORMAT notRgb = PixelFormatForDepth(32);
    notRgb.dwFlags = 0;
    DescribePixelFormat(notRgb, format);
    EXPECT_EQ(format.BitDepth, 0u);
}

TEST_F(SurfaceTest, CreationSetsWholeRectanglesAndNoKey) {
    CDXSurface surface(screen.get(), 33, 20, 2);
    ASSERT_TRUE(surface.Surface);
    EXPECT_EQ(surface.ColorKey, 0xFFFFFFFFu);
    EXPECT_EQ(surface.SrcRect.right, 33);
    EXPECT_EQ(surface.ClipRect.bottom, 20);
    EXPECT_EQ(surface.PixelFormat.BitDepth, 16u);

    host.SetSurfaceCreationRule([](const SurfaceRequest&) { return DDERR_OUTOFVIDEOMEMORY; });
    CDXSurface refused;
    EXPECT_EQ(refused.Create(screen.get(), 8, 8, 0), 0);
    EXPECT_FALSE(refused.Surface);
    EXPECT_EQ(refused.Lock(), DDERR_NOTINITIALIZED);
    EXPECT_EQ(refused.Fill(0), DDERR_NOTINITIALIZED);
}

TEST_F(SurfaceTest, ClipRectIsKeptInsideTheSurfaceAndBoundsPutPixel) {
    screen->Back->SetClipRect(RECT{-5, -5, 1000, 1000});
    const RECT& clip = screen->Back->ClipRect;
    EXPECT_EQ(clip.left, 0);
    EXPECT_EQ(clip.top, 0);
    EXPECT_EQ(clip.right, 640);
    EXPECT_EQ(clip.bottom, 480);

    CDXSurface surface(screen.get(), 10, 4, 1);
    surface.Fill(0);
    surface.SetClipRect(RECT{2, 0, 6, 4});
    ASSERT_EQ(surface.Lock(), DD_OK);
    surface.PutPixel(6, 1, 0xAAAA);
    surface.PutPixel(2, 1, 0xBBBB);
    surface.PutPixel(1, 1, 0xCCCC);
    EXPECT_EQ(surface.GetPixel(6, 1), 0u);
    EXPECT_EQ(surface.GetPixel(2, 1), 0xBBBBu);
    EXPECT_EQ(surface.GetPixel(1, 1), 0u);
    surface.Unlock();
}

TEST_F(SurfaceTest, ColorKeyIsTheTopLeftPixelInThePixelsOwnBits) {
    CDXSurface surface(screen.get(), 2, 1, 2);
    surface.Fill(0xFFFF);
    surface.FillRect(0, 0, 1, 1, 0x1234);
    surface.SetColorKey();
    EXPECT_EQ(surface.ColorKey, 0x1234u);

    host.RefuseLocks(1, DDERR_SURFACEBUSY);
    surface.SetColorKey();
    EXPECT_EQ(surface.ColorKey, 0xFFFFFFFFu);
}

TEST_F(SurfaceTest, ALockFillsTheDescriptionAndARefusedOneLeavesItCleared) {
    CDXSurface surface(screen.get(), 8, 4, 1);
    ASSERT_EQ(surface.Lock(), DD_OK);
    EXPECT_NE(surface.Desc.lpSurface, nullptr);
    EXPECT_EQ(surface.Desc.dwWidth, 8u);
    EXPECT_EQ(surface.Desc.dwHeight, 4u);
    surface.Unlock();

    host.RefuseLocks(1, DDERR_SURFACEBUSY);
    EXPECT_EQ(surface.Lock(), DDERR_SURFACEBUSY);
    EXPECT_EQ(surface.Desc.lpSurface, nullptr);
    EXPECT_EQ(surface.Desc.dwWidth, 0u);
    EXPECT_EQ(surface.Desc.dwSize, kSurfaceDescSize);
}

TEST_F(SurfaceTest, KeyedClippedBlitDrawsOnlyTheVisibleColumns) {
    CDXSurface sprite(screen.get(), 32, 32, 2);
    for (int column = 0; column < 32; ++column) {
        sprite.FillRect(column, 0, column + 1, 32, static_cast<std::uint32_t>(column + 100));
    }
    sprite.FillRect(0, 0, 1, 1, 0x0002);  // the key, which no pixel of row 5 holds
    sprite.SetColorKey();
    screen->Back->Fill(0);
    ASSERT_EQ(sprite.BlitKeyedClipped(-10, 5, screen->Back, RECT{0, 0, 640, 480}), DD_OK);
    EXPECT_EQ(PixelOf(*screen->Back, 0, 5), 110u);
    EXPECT_EQ(PixelOf(*screen->Back, 21, 5), 131u);
    EXPECT_EQ(PixelOf(*screen->Back, 22, 5), 0u);
    EXPECT_EQ(sprite.SrcRect.left, 0);

    // Clipped away entirely: the service refuses the empty rectangle and nothing is drawn.
    EXPECT_EQ(sprite.BlitKeyedClipped(-40, 5, screen->Back, RECT{0, 0, 640, 480}),
              DDERR_INVALIDRECT);
}

TEST_F(SurfaceTest, ScaledBlitTruncatesItsDestinationRectangle) {
    CDXSurface surface(screen.get(), 33, 20, 2);
    surface.Fill(0x0F0F);
    ASSERT_EQ(surface.BlitScaled(0, 0, 1.5f, screen->Back), DD_OK);
    EXPECT_EQ(surface.DestRect.left, 0);
    EXPECT_EQ(surface.DestRect.top, 0);
    EXPECT_EQ(surface.DestRect.right, 49);
    EXPECT_EQ(surface.DestRect.bottom, 30);
    EXPECT_EQ(PixelOf(*screen->Back, 48, 29), 0x0F0Fu);
    EXPECT_EQ(surface.BlitZoomed(10, 10, 2, 3, screen->Back), DD_OK);
    EXPECT_EQ(surface.DestRect.right, 76);
    EXPECT_EQ(surface.DestRect.bottom, 70);
}

TEST_F(SurfaceTest, DrawsOnALostSourceRestoreItAndReturnTheLoss) {
    CDXSurface surface(screen.get(), 8, 8, 0);
    host.LoseDisplay();
    screen->RestoreAll();
    EXPECT_EQ(surface.BlitOpaque(0, 0, screen->Back), DDERR_SURFACELOST);
    EXPECT_EQ(surface.Surface->IsLost(), DD_OK);
    EXPECT_EQ(surface.BlitOpaque(0, 0, screen->Back), DD_OK);

    host.LoseDisplay();
    EXPECT_EQ(surface.Lock(), DD_OK);  // Lock restores and tries again
    surface.Unlock();
}

TEST_F(SurfaceTest, BackBufferRestoreGoesThroughTheFront) {
    host.LoseDisplay();
    screen->Back->Restore();
    EXPECT_EQ(screen->Front->Surface->IsLost(), DD_OK);
    EXPECT_EQ(screen->Back->Surface->IsLost(), DD_OK);
}

TEST_F(SurfaceTest, PixelAccessFollowsTheScreensDepth) {
    CDXSurface surface(screen.get(), 4, 2, 1);
    surface.Fill(0);
    ASSERT_EQ(surface.Lock(), DD_OK);
    surface.PutPixel(3, 1, 0xABCDEF12);
    EXPECT_EQ(surface.GetPixel(3, 1), 0xEF12u);
    screen->BPP = 12;
    surface.PutPixel(0, 0, 0xFFFF);
    EXPECT_EQ(surface.GetPixel(0, 0), 0u);
    screen->BPP = 16;
    EXPECT_EQ(surface.GetPixel(0, 0), 0u);
    surface.Unlock();
}
