// SPDX-License-Identifier: MIT
// What the screen shows, and when: flips, direct writes into the front buffer, and both.

#include <gtest/gtest.h>

#include "platform/display/display_device.h"
#include "platform/fake/fake_host.h"

using namespace platform;

namespace {

class PresentationTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetHost(&host);
        host.SetPicturesKept(16);
        ASSERT_EQ(DirectDrawCreate(nullptr, &device), DD_OK);
        ASSERT_EQ(device->SetCooperativeLevel(reinterpret_cast<HWND>(1),
                                              DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE),
                  DD_OK);
        ASSERT_EQ(device->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
        DDSURFACEDESC2 desc;
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = 1;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        ASSERT_EQ(device->CreateSurface(&desc, &front), DD_OK);
        DDSCAPS2 caps{DDSCAPS_BACKBUFFER};
        ASSERT_EQ(front->GetAttachedSurface(&caps, &back), DD_OK);
    }

    static void Fill(DisplaySurface& surface, DWORD value) {
        DDBLTFX effects;
        effects.dwFillColor = value;
        ASSERT_EQ(surface.Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &effects), DD_OK);
    }

    // A direct write of one pixel into the front buffer, the way text and fades reach it.
    void WriteFrontPixel(int x, std::uint16_t value) {
        DDSURFACEDESC2 desc;
        ASSERT_EQ(front->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        static_cast<std::uint16_t*>(desc.lpSurface)[x] = value;
        ASSERT_EQ(front->Unlock(nullptr), DD_OK);
    }

    const FakeHost::Picture& Last() const { return host.Pictures().back(); }

    FakeHost host;
    std::shared_ptr<DisplayDevice> device;
    std::shared_ptr<DisplaySurface> front;
    std::shared_ptr<DisplaySurface> back;
};

}  // namespace

TEST_F(PresentationTest, PlayFramesShowAtTheBlankRightAfterTheirFlip) {
    for (std::uint16_t frame = 1; frame <= 3; ++frame) {
        Fill(*back, frame);
        const std::uint64_t blankBefore = host.Blank();
        ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
        EXPECT_EQ(host.PictureCount(), frame);
        EXPECT_EQ(Last().blank, blankBefore + 1);
        EXPECT_EQ(Last().PixelAt(320, 240), frame);
    }
}

TEST_F(PresentationTest, WritesIntoTheFrontAfterAFlipAreOnTheNextPicture) {
    // The intro draws its picture into the back buffer, flips, then writes its credits onto
    // the front: every picture shown must carry the credits.
    for (int frame = 0; frame < 4; ++frame) {
        Fill(*back, 0x0101);
        ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
        if (frame > 0) {
            EXPECT_EQ(Last().PixelAt(5, 0), 0xFFFF) << "frame " << frame;
            EXPECT_EQ(Last().PixelAt(6, 0), 0x0101);
        }
        WriteFrontPixel(5, 0xFFFF);
    }
    // One picture per flip, one flip per blank.
    EXPECT_EQ(host.PictureCount(), 4u);
    EXPECT_EQ(host.Blank(), 4u);
}

TEST_F(PresentationTest, RepeatedFrontWritesRunAtTheRefreshRateAndEachIsShown) {
    // A loop that only writes into the front (a waiting screen, a fade) waits one blank per
    // write once a write is unshown, and shows the front as each write left it.
    WriteFrontPixel(0, 1);
    EXPECT_EQ(host.PictureCount(), 0u);
    for (std::uint16_t step = 2; step <= 10; ++step) {
        const std::uint64_t blankBefore = host.Blank();
        WriteFrontPixel(0, step);
        EXPECT_EQ(host.Blank(), blankBefore + 1);
        EXPECT_EQ(Last().PixelAt(0, 0), step);
    }
    EXPECT_EQ(host.PictureCount(), 9u);
    // The flip after the loop shows the front as the loop left it, not the swapped picture.
    Fill(*back, 0x7777);
    ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(Last().PixelAt(0, 0), 10);
    // The flip after that shows the back buffer's picture again.
    Fill(*back, 0x7777);
    ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(Last().PixelAt(0, 0), 0x7777);
}

TEST_F(PresentationTest, FlipWithoutWaitShowsAtOnceAndALostChainRefusesToFlip) {
    ASSERT_EQ(front->Flip(nullptr, DDFLIP_NOVSYNC), DD_OK);
    EXPECT_EQ(host.Blank(), 0u);
    EXPECT_EQ(host.PictureCount(), 1u);
    host.LoseDisplay();
    EXPECT_EQ(back->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
    // Restoring the back buffer brings the whole chain back.
    EXPECT_EQ(back->Restore(), DD_OK);
    EXPECT_EQ(front->IsLost(), DD_OK);
    EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
}
