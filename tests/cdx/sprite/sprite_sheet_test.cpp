// SPDX-License-Identifier: MIT
// Sprite sheets and sprites: the frame layout, the overlap test, creation and ownership.

#include <gtest/gtest.h>

#include "cdx/sprite/cdxsprite.h"
#include "cdx/sprite/cdxtile.h"
#include "test_pictures.h"

using namespace cdx;

using namespace platform;
using namespace testpictures;

namespace {

void ShapeSheet(CDXTile& sheet, int width, int height, int block) {
    sheet.PixelWidth = width;
    sheet.PixelHeight = height;
    sheet.BlockWidth = block;
    sheet.BlockHeight = block;
}

void ExpectRect(const RECT& rect, int left, int top, int right, int bottom) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right, right);
    EXPECT_EQ(rect.bottom, bottom);
}

// A sheet that counts its destructions.
struct CountedTile : CDXTile {
    explicit CountedTile(int* deaths) : deaths_(deaths) {}
    ~CountedTile() override { ++*deaths_; }
    int* deaths_;
};

}  // namespace

TEST(SpriteSheet, FramesRunRowByRowFromTheTopLeft) {
    CDXTile sheet;
    sheet.PixelWidth = 320;
    sheet.PixelHeight = 64;
    sheet.BlockWidth = 32;
    sheet.BlockHeight = 32;
    RECT rect;
    ASSERT_TRUE(sheet.FrameRect(0, rect));
    ExpectRect(rect, 0, 0, 32, 32);
    ASSERT_TRUE(sheet.FrameRect(9, rect));
    ExpectRect(rect, 288, 0, 320, 32);
    ASSERT_TRUE(sheet.FrameRect(10, rect));
    ExpectRect(rect, 0, 32, 32, 64);
    ASSERT_TRUE(sheet.FrameRect(12, rect));
    ExpectRect(rect, 64, 32, 96, 64);
    // Not checked against the frame count: a frame past the last row lies below the sheet.
    ASSERT_TRUE(sheet.FrameRect(25, rect));
    ExpectRect(rect, 160, 64, 192, 96);
}

TEST(SpriteSheet, ASheetNarrowerThanOneFrameHasNoLayout) {
    RECT rect;
    CDXTile narrow;
    narrow.PixelWidth = 31;
    narrow.BlockWidth = 32;
    narrow.BlockHeight = 32;
    EXPECT_FALSE(narrow.FrameRect(0, rect));
    CDXTile noBlocks;
    noBlocks.PixelWidth = 64;
    EXPECT_FALSE(noBlocks.FrameRect(0, rect));
    // Frames per row are a 16-bit number: 65536 of them are none.
    CDXTile wide;
    wide.PixelWidth = 65536;
    wide.BlockWidth = 1;
    wide.BlockHeight = 1;
    EXPECT_FALSE(wide.FrameRect(0, rect));
    // A frame number whose row lies beyond the 32-bit range has no rectangle.
    CDXTile tall;
    tall.PixelWidth = 32;
    tall.BlockWidth = 32;
    tall.BlockHeight = 1 << 20;
    EXPECT_FALSE(tall.FrameRect(1 << 20, rect));
}

TEST(SpriteSheet, ANullFileNameStoresNothing) {
    CDXTile sheet;
    EXPECT_EQ(sheet.Create(nullptr, nullptr, 32, 32, 40, 2), 0);
    EXPECT_EQ(sheet.BlockWidth, 0);
    EXPECT_EQ(sheet.BlockHeight, 0);
    EXPECT_EQ(sheet.BlockCount, 0);
    EXPECT_FALSE(sheet.Surface);
}

TEST(Sprite, StartsAtRestWithUnitScaleAndNoStretchSize) {
    CDXSprite sprite;
    EXPECT_EQ(sprite.ScaleFactor, 1.0f);
    EXPECT_EQ(sprite.StretchWidth, 0);
    EXPECT_EQ(sprite.StretchHeight, 0);
    EXPECT_EQ(sprite.Tile, nullptr);
    EXPECT_EQ(sprite.Create(nullptr), 0);

    CDXTile sheet;
    sprite.PosX = 5;
    sprite.Frame = 3;
    sprite.ScaleFactor = 2.5f;
    sprite.ShadowOffsetX = 4;
    sprite.StretchWidth = 20;
    sprite.OwnsTile = 1;
    ASSERT_EQ(sprite.Create(&sheet), 1);
    EXPECT_EQ(sprite.Tile, &sheet);
    EXPECT_EQ(sprite.PosX, 0);
    EXPECT_EQ(sprite.Frame, 0);
    EXPECT_EQ(sprite.OwnsTile, 0);
    // The blit parameters survive creation.
    EXPECT_EQ(sprite.ScaleFactor, 2.5f);
    EXPECT_EQ(sprite.ShadowOffsetX, 4);
    EXPECT_EQ(sprite.StretchWidth, 20);
}

TEST(Sprite, HitsWhenFrameBoxesTouchOrOverlap) {
    CDXTile sheet;
    ShapeSheet(sheet, 320, 64, 32);
    CDXSprite a;
    CDXSprite b;
    a.Create(&sheet);
    b.Create(&sheet);
    b.PosX = 32;
    EXPECT_EQ(a.SpriteHit(&b), 1);
    EXPECT_EQ(b.SpriteHit(&a), 1);
    b.PosX = 33;
    EXPECT_EQ(a.SpriteHit(&b), 0);
    EXPECT_EQ(b.SpriteHit(&a), 0);
    b.PosX = 10;
    b.PosY = 32;
    EXPECT_EQ(a.SpriteHit(&b), 1);
    b.PosY = -33;
    EXPECT_EQ(a.SpriteHit(&b), 0);
    EXPECT_EQ(a.SpriteHit(&a), 0);

    // Boxes far apart at the ends of the 32-bit range do not wrap into a hit.
    a.PosX = INT32_MAX;
    b.PosX = INT32_MIN;
    b.PosY = 0;
    EXPECT_EQ(a.SpriteHit(&b), 0);

    // Sprites of different sheet sizes: the wide one reaches the small one.
    CDXTile wideSheet;
    ShapeSheet(wideSheet, 146, 476, 146);
    wideSheet.BlockHeight = 476;
    CDXSprite panel;
    panel.Create(&wideSheet);
    panel.PosX = 500;
    CDXSprite small;
    small.Create(&sheet);
    small.PosX = 640;
    small.PosY = 470;
    EXPECT_EQ(panel.SpriteHit(&small), 1);
    small.PosX = 647;
    EXPECT_EQ(panel.SpriteHit(&small), 0);
}

TEST(Sprite, DeletesAnOwnedSheetExactlyOnce) {
    int deaths = 0;
    {
        CDXSprite sprite;
        sprite.Create(new CountedTile(&deaths));
        sprite.OwnsTile = 1;
    }
    EXPECT_EQ(deaths, 1);

    CountedTile shared(&deaths);
    {
        CDXSprite first;
        CDXSprite second;
        first.Create(&shared);
        second.Create(&shared);
    }
    EXPECT_EQ(deaths, 1);  // not owned: the sheet outlives its sprites
}
