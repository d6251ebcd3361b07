// SPDX-License-Identifier: MIT
// CDXSprite::Draw: the frame geometry, the scroll, and the routing of the blit modes.

#include <gtest/gtest.h>

#include "cdx/sprite/cdxsprite.h"
#include "test_pictures.h"

using namespace cdx;

using namespace platform;
using namespace testpictures;

namespace {

constexpr std::uint32_t kKey = 0x0001;

// A 320 x 64 sheet of 32 x 32 frames; frame n is filled with 0x100 + n, its top-left pixel
// and the sheet's is the key.
class DispatchTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        sheet.CDXSurface::Create(screen.get(), 320, 64, 2);
        sheet.BlockWidth = 32;
        sheet.BlockHeight = 32;
        sheet.BlockCount = 20;
        for (int n = 0; n < 20; ++n) {
            const int left = n % 10 * 32;
            const int top = n / 10 * 32;
            sheet.FillRect(left, top, left + 32, top + 32, 0x100u + n);
            sheet.FillRect(left, top, left + 1, top + 1, kKey);
        }
        sheet.SetColorKey();
        sprite.Create(&sheet);
        screen->Back->Fill(0x7777);
    }

    bool BackUntouched() {
        EXPECT_EQ(screen->Back->Lock(), DD_OK);
        bool untouched = true;
        for (int y = 0; y < 480 && untouched; ++y) {
            for (int x = 0; x < 640 && untouched; ++x) {
                untouched = screen->Back->GetPixel(x, y) == 0x7777;
            }
        }
        screen->Back->Unlock();
        return untouched;
    }

    CDXTile sheet;
    CDXSprite sprite;
};

}  // namespace

TEST_F(DispatchTest, DrawsTheCurrentFrameAtThePositionLessTheScroll) {
    sprite.Frame = 12;
    sprite.PosX = 100;
    sprite.PosY = 50;
    sprite.Draw(screen->Back, 40, -10, CDXBlitMode::CopyKeyed);
    EXPECT_EQ(PixelOf(*screen->Back, 60, 60), 0x7777u);  // the keyed corner
    EXPECT_EQ(PixelOf(*screen->Back, 61, 60), 0x10Cu);
    EXPECT_EQ(PixelOf(*screen->Back, 91, 91), 0x10Cu);
    EXPECT_EQ(PixelOf(*screen->Back, 92, 92), 0x7777u);

    sprite.Draw(screen->Back, 40, -10, CDXBlitMode::Copy);
    EXPECT_EQ(PixelOf(*screen->Back, 60, 60), kKey);
}

TEST_F(DispatchTest, ScaledAndResizedModesReadTheSpritesParameters) {
    sprite.PosX = 100;
    sprite.PosY = 100;
    sprite.ScaleFactor = 2.0f;
    sprite.Draw(screen->Back, 0, 0, CDXBlitMode::Scaled);
    EXPECT_EQ(PixelOf(*screen->Back, 84, 84), kKey);
    EXPECT_EQ(PixelOf(*screen->Back, 147, 147), 0x100u);

    screen->Back->Fill(0x7777);
    sprite.Draw(screen->Back, 0, 0, CDXBlitMode::ScaledKeyed);
    EXPECT_EQ(PixelOf(*screen->Back, 84, 84), 0x7777u);
    EXPECT_EQ(PixelOf(*screen->Back, 86, 86), 0x100u);

    // No stretch size set yet: nothing.
    screen->Back->Fill(0x7777);
    sprite.Draw(screen->Back, 0, 0, CDXBlitMode::Resized);
    sprite.Draw(screen->Back, 0, 0, CDXBlitMode::ResizedKeyed);
    EXPECT_TRUE(BackUntouched());
    sprite.StretchWidth = 64;
    sprite.StretchHeight = 16;
    sprite.Draw(screen->Back, 0, 0, CDXBlitMode::ResizedKeyed);
    EXPECT_EQ(PixelOf(*screen->Back, 147, 123), 0x100u);
    EXPECT_EQ(PixelOf(*screen->Back, 148, 123), 0x7777u);
}

TEST_F(DispatchTest, ModesWithoutARoutineDrawNothing) {
    sprite.PosX = 10;
    sprite.PosY = 10;
    sprite.ScaleFactor = 1.0f;
    sprite.Translucency = 128;
    sprite.ShadowValue = 128;
    // Numbers outside the table.
    for (const int mode : {6, 7, 106, 107, 11, 121, 65535}) {
        sprite.Draw(screen->Back, 0, 0, static_cast<CDXBlitMode>(mode));
        EXPECT_TRUE(BackUntouched()) << mode;
    }
}

TEST_F(DispatchTest, FramesOffTheSheetAndSheetsWithoutFramesDrawNothing) {
    sprite.Frame = 20;  // the row below the sheet
    sprite.Draw(screen->Back, 0, 0, CDXBlitMode::Copy);
    sprite.Frame = -1;
    sprite.Draw(screen->Back, 0, 0, CDXBlitMode::Copy);
    EXPECT_TRUE(BackUntouched());

    sprite.Frame = 0;
    sheet.BlockWidth = 321;
    sprite.Draw(screen->Back, 0, 0, CDXBlitMode::Copy);
    sheet.BlockWidth = 0;
    sprite.Draw(screen->Back, 0, 0, CDXBlitMode::CopyKeyed);
    EXPECT_TRUE(BackUntouched());

    // A scroll that carries the position out of the 32-bit range.
    sheet.BlockWidth = 32;
    sprite.PosX = INT32_MIN;
    sprite.Draw(screen->Back, INT32_MAX, 0, CDXBlitMode::Copy);
    EXPECT_TRUE(BackUntouched());

    CDXSprite unattached;
    unattached.Draw(screen->Back, 0, 0, CDXBlitMode::Copy);
    sprite.Draw(nullptr, 0, 0, CDXBlitMode::Copy);
    EXPECT_TRUE(BackUntouched());
}

TEST_F(DispatchTest, ShadowOffsetsThatLeaveThe32BitRangePlaceNoShadow) {
    // The plain 32-bit difference would wrap round to x = 51, on the screen.
    sprite.PosX = INT32_MIN + 50;
    sprite.PosY = 10;
    sprite.ShadowOffsetX = INT32_MAX;
    sprite.ShadowValue = 0;
    for (const auto mode : {CDXBlitMode::Shadow, CDXBlitMode::ShadowKeyed, CDXBlitMode::HalfShadow,
                            CDXBlitMode::HalfShadowKeyed}) {
        sprite.Draw(screen->Back, 0, 0, mode);
    }
    sprite.PosX = 10;
    sprite.PosY = INT32_MAX - 5;
    sprite.ShadowOffsetX = 0;
    sprite.ShadowOffsetY = INT32_MIN;
    sprite.Draw(screen->Back, 0, 0, CDXBlitMode::Shadow);
    EXPECT_TRUE(BackUntouched());
    // Far-off parts whose difference lies on the screen still draw there.
    sprite.PosX = INT32_MIN + 50;
    sprite.PosY = 10;
    sprite.ShadowOffsetX = -10;
    sprite.ShadowOffsetY = 0;
    sprite.Draw(screen->Back, INT32_MIN, 0, CDXBlitMode::Shadow);
    EXPECT_EQ(PixelOf(*screen->Back, 59, 20), 0x7777u);
    EXPECT_EQ(PixelOf(*screen->Back, 60, 20), 0u);
    EXPECT_EQ(PixelOf(*screen->Back, 91, 41), 0u);
    EXPECT_EQ(PixelOf(*screen->Back, 92, 20), 0x7777u);
}
