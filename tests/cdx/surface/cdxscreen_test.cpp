// SPDX-License-Identifier: MIT
#include "cdx/surface/cdxscreen.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_host.h"
#include "platform/host/window.h"

using namespace cdx;

using namespace platform;

namespace {

HWND TestWindow() {
    return reinterpret_cast<HWND>(0x1);
}

}  // namespace

TEST(Screen, CheckModeFindsOnlyListedModes) {
    FakeHost host;
    SetHost(&host);
    host.SetDisplayModes({{640, 480, 8}, {640, 480, 16}});
    CDXScreen screen;
    EXPECT_EQ(screen.ModeCount, 2);
    EXPECT_EQ(screen.CheckMode(640, 480, 16), 1);
    EXPECT_EQ(screen.CheckMode(640, 480, 15), 0);
    EXPECT_EQ(screen.DeviceCount, 1);
    EXPECT_EQ(screen.DeviceList[0].Guid, nullptr);
}

TEST(Screen, EmptyModeListMatchesNothing) {
    FakeHost host;
    SetHost(&host);
    host.SetDisplayModes({});
    CDXScreen screen;
    EXPECT_EQ(screen.ModeCount, 0);
    EXPECT_EQ(screen.CheckMode(640, 480, 16), 0);
    EXPECT_EQ(screen.CheckMode(0, 0, 0), 0);
}

TEST(Screen, FramesPerSecondUpdatesOnlyPastOneSecond) {
    FakeHost host;
    SetHost(&host);
    CDXScreen screen;
    screen.LastTime = 0;
    screen.CountFrame(0);
    screen.CountFrame(400);
    screen.CountFrame(800);
    EXPECT_EQ(screen.FPS, 0);
    screen.CountFrame(1200);
    EXPECT_EQ(screen.FPS, 2);  // trunc(3 / 1200 x 1000)
    EXPECT_EQ(screen.FrameTime, 0u);
    EXPECT_EQ(screen.FrameCount, 1u);

    CDXScreen exact;
    exact.LastTime = 0;
    exact.CountFrame(1000);
    EXPECT_EQ(exact.FPS, 0);
    EXPECT_EQ(exact.FrameTime, 1000u);
    EXPECT_EQ(exact.FrameCount, 1u);
}

TEST(Screen, FlipsAtSixtyFramesPerSecondOnTheHostClock) {
    FakeHost host;
    SetHost(&host);
    CDXScreen screen;
    ASSERT_EQ(screen.CreateFullScreen(TestWindow(), 640, 480, 16, 0), 1);
    for (int frame = 0; frame < 125; ++frame) ASSERT_EQ(screen.Flip(1, 1, 0), DD_OK);
    EXPECT_EQ(host.PictureCount(), 125u);
    // 61 frames in 1017 ms, truncated.
    EXPECT_EQ(screen.FPS, 59);
}

TEST(Screen, FullScreenBuffersTakeTheModesFormat) {
    FakeHost host;
    SetHost(&host);
    CDXScreen screen;
    ASSERT_EQ(screen.CreateFullScreen(TestWindow(), 640, 480, 15, 0), 1);
    EXPECT_EQ(host.CurrentMode().bitsPerPixel, 15);
    for (CDXSurface* buffer : {screen.Front, screen.Back}) {
        EXPECT_EQ(buffer->PixelWidth, 640);
        EXPECT_EQ(buffer->PixelFormat.BitDepth, 15u);
        EXPECT_EQ(buffer->ClipRect.right, 640);
        EXPECT_EQ(buffer->Screen, &screen);
    }
    ASSERT_TRUE(screen.Palette);
    EXPECT_EQ(screen.Palette->Entries()[0x92].peRed, 145);
    EXPECT_EQ(screen.Palette->Entries()[0x92].peBlue, 170);
    EXPECT_EQ(screen.Palette->Entries()[255].peGreen, 255);
}

TEST(Screen, RefusedTripleBufferingFallsBackToOneBackBuffer) {
    FakeHost host;
    SetHost(&host);
    host.SetSurfaceCreationRule([](const SurfaceRequest& request) {
        return request.backBufferCount == 2 ? DDERR_OUTOFVIDEOMEMORY : DD_OK;
    });
    CDXScreen screen;
    screen.TripleBuffer = 1;
    ASSERT_EQ(screen.CreateFullScreen(TestWindow(), 640, 480, 16, 0), 1);
    EXPECT_EQ(screen.TripleBuffer, 0);
    ASSERT_NE(screen.Back, nullptr);
    EXPECT_TRUE(screen.Back->Surface);
}

TEST(Screen, PrimaryChainRetriesInSystemMemoryThenGivesUp) {
    FakeHost host;
    SetHost(&host);
    host.SetSurfaceCreationRule([](const SurfaceRequest& request) {
        return (request.caps & DDSCAPS_VIDEOMEMORY) ? DDERR_OUTOFVIDEOMEMORY : DD_OK;
    });
    CDXScreen screen;
    EXPECT_EQ(screen.CreateFullScreen(TestWindow(), 640, 480, 16, 0), 1);

    host.SetSurfaceCreationRule([](const SurfaceRequest&) { return DDERR_OUTOFMEMORY; });
    EXPECT_EQ(screen.CreateFullScreen(TestWindow(), 640, 480, 16, 0), 0);
    host.RefuseCooperativeLevel(DDERR_EXCLUSIVEMODEALREADYSET);
    EXPECT_EQ(screen.CreateFullScreen(TestWindow(), 640, 480, 16, 0), 0);
}

TEST(Screen, LostBuffersAreRestoredByTheNextFlip) {
    FakeHost host;
    SetHost(&host);
    CDXScreen screen;
    ASSERT_EQ(screen.CreateFullScreen(TestWindow(), 640, 480, 16, 0), 1);
    host.LoseDisplay();
    EXPECT_EQ(screen.Flip(1, 1, 0), DDERR_SURFACELOST);
    EXPECT_EQ(screen.Front->Surface->IsLost(), DD_OK);
    EXPECT_EQ(screen.Back->Surface->IsLost(), DD_OK);
    EXPECT_EQ(screen.Back->Fill(0), DD_OK);
    EXPECT_EQ(screen.Flip(1, 1, 0), DD_OK);
}

TEST(Screen, AFailedDisplayObjectIsReportedAndNeverUsed) {
    FakeHost host;
    SetHost(&host);
    host.RefuseDisplayCreation(DDERR_NODIRECTDRAWHW);
    CDXScreen screen;
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text,
              "DirectDraw Error DDERR_NODIRECTDRAWHW\nFILE: cdxscreen\nLINE: 217");
    EXPECT_EQ(screen.ModeCount, 0);
    EXPECT_EQ(screen.CheckMode(640, 480, 16), 0);
    EXPECT_EQ(screen.CreateFullScreen(TestWindow(), 640, 480, 16, 0), 0);
    EXPECT_EQ(screen.Flip(1, 1, 0), DDERR_NOTINITIALIZED);
    EXPECT_EQ(screen.WaitVBlank(), DDERR_NOTINITIALIZED);
    screen.RestoreAll();
}
