// SPDX-License-Identifier: MIT
// The mirrored draws: the display service's mirror, the pixel-by-pixel fall-back when the
// service refuses, and the mirror correction of the clipping.

#include <gtest/gtest.h>

#include "blitter_scene.h"

using namespace platform;

namespace {

constexpr std::uint32_t kKey = 0x0001;
constexpr std::uint32_t kUntouched = 0x7777;

// Sheet pixel (x, y) is 0x100 + 32 x (y mod 32) + (x mod 32) (never the key), except the keyed
// pixels on the frames' diagonals.
class MirrorTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(scene.ready);
        CDXTile& made = scene.MakeSheet(0, kKey);
        ASSERT_EQ(made.Lock(), DD_OK);
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 320; ++x) {
                made.PutPixel(x, y, x % 32 == y % 32 ? kKey : 0x100u + 32 * (y % 32) + x % 32);
            }
        }
        made.Unlock();
        back().Fill(kUntouched);
        // The parameter: whether the service refuses to mirror.
        if (GetParam()) scene.host.RefuseMirroredBlts(DDERR_UNSUPPORTED);
    }
    CDXSurface& back() { return *scene.screen->Back; }
    CDXTile& sheet() { return *scene.sheet; }
    std::uint32_t SourceAt(int x, int y) {
        return x % 32 == y % 32 ? kKey : 0x100u + 32 * (y % 32) + x % 32;
    }

    BlitterScene scene{16};
};

TEST_P(MirrorTest, LeftEdgeCutRemovesSourceColumnsOnTheRight) {
    EXPECT_EQ(sheet().DrawMirrorX(&back(), -8, 100, RECT{0, 0, 32, 32}), DD_OK);
    // The source becomes (0, 0, 24, 32) at D = (0, 100, 24, 132).
    EXPECT_EQ(scene.Pixel(back(), 0, 100), SourceAt(23, 0));
    EXPECT_EQ(scene.Pixel(back(), 23, 131), SourceAt(0, 31));
    EXPECT_EQ(scene.Pixel(back(), 24, 100), kUntouched);
    EXPECT_EQ(scene.Pixel(back(), 0, 99), kUntouched);
    EXPECT_EQ(scene.Pixel(back(), 0, 132), kUntouched);
}

TEST_P(MirrorTest, RightEdgeCutRemovesSourceColumnsOnTheLeft) {
    EXPECT_EQ(sheet().DrawMirrorX(&back(), 620, 0, RECT{0, 0, 32, 32}), DD_OK);
    // The source becomes (12, 0, 32, 32).
    EXPECT_EQ(scene.Pixel(back(), 639, 1), SourceAt(12, 1));
    EXPECT_EQ(scene.Pixel(back(), 620, 1), SourceAt(31, 1));
    EXPECT_EQ(scene.Pixel(back(), 619, 1), kUntouched);
}

TEST_P(MirrorTest, VerticalCutsComeOffTheOtherEnd) {
    EXPECT_EQ(sheet().DrawMirrorY(&back(), 50, -8, RECT{32, 32, 64, 64}), DD_OK);
    EXPECT_EQ(scene.Pixel(back(), 51, 0), SourceAt(33, 32 + 23));
    EXPECT_EQ(scene.Pixel(back(), 51, 23), SourceAt(33, 32));
    EXPECT_EQ(scene.Pixel(back(), 51, 24), kUntouched);
    EXPECT_EQ(sheet().DrawMirrorY(&back(), 50, 460, RECT{32, 32, 64, 64}), DD_OK);
    EXPECT_EQ(scene.Pixel(back(), 51, 479), SourceAt(33, 32 + 12));
    EXPECT_EQ(scene.Pixel(back(), 51, 460), SourceAt(33, 63));
}

TEST_P(MirrorTest, KeyedDrawsLeaveTheKeyedPixelsAlone) {
    EXPECT_EQ(sheet().DrawMirrorYKeyed(&back(), 10, 10, RECT{0, 0, 32, 32}), DD_OK);
    EXPECT_EQ(sheet().DrawMirrorXKeyed(&back(), 100, 10, RECT{0, 0, 32, 32}), DD_OK);
    for (int r = 0; r < 32; ++r) {
        for (int c = 0; c < 32; ++c) {
            const std::uint32_t source = SourceAt(c, r);
            const std::uint32_t expected = source == kKey ? kUntouched : source;
            ASSERT_EQ(scene.Pixel(back(), 10 + c, 10 + 31 - r), expected) << c << "," << r;
            ASSERT_EQ(scene.Pixel(back(), 100 + 31 - c, 10 + r), expected) << c << "," << r;
        }
    }
}

TEST_P(MirrorTest, NothingVisibleIsGeneric) {
    const auto before = AllPixels(back());
    EXPECT_EQ(sheet().DrawMirrorX(&back(), 640, 0, RECT{0, 0, 32, 32}), DDERR_GENERIC);
    EXPECT_EQ(sheet().DrawMirrorYKeyed(&back(), 0, -32, RECT{0, 0, 32, 32}), DDERR_GENERIC);
    EXPECT_EQ(AllPixels(back()), before);
}

TEST_P(MirrorTest, TheModesReachTheMirrors) {
    CDXSprite sprite;
    sprite.Create(&sheet());
    sprite.Frame = 11;  // (32, 32, 64, 64)
    sprite.PosX = 300;
    sprite.PosY = 200;
    sprite.Draw(&back(), 0, 0, CDXBlitMode::MirrorX);
    EXPECT_EQ(scene.Pixel(back(), 300, 200), SourceAt(63, 32));
    sprite.Draw(&back(), 0, 0, CDXBlitMode::MirrorY);
    EXPECT_EQ(scene.Pixel(back(), 300, 200), SourceAt(32, 63));
    back().Fill(kUntouched);
    sprite.Draw(&back(), 0, 0, CDXBlitMode::MirrorXKeyed);
    EXPECT_EQ(scene.Pixel(back(), 300, 231), kUntouched);  // source (63, 63) is keyed
    sprite.Draw(&back(), 0, 0, CDXBlitMode::MirrorYKeyed);
    EXPECT_EQ(scene.Pixel(back(), 300, 231), kUntouched);  // source (32, 32) is keyed
    EXPECT_EQ(scene.Pixel(back(), 301, 231), SourceAt(33, 32));
}

INSTANTIATE_TEST_SUITE_P(ServiceAndSoftware, MirrorTest, ::testing::Bool());

// Both paths write exactly the same pixels, wherever the frame lands.
TEST(MirrorPaths, TheSoftwareMirrorDrawsWhatTheServiceDraws) {
    BlitterScene scene(16);
    ASSERT_TRUE(scene.ready);
    CDXTile& sheet = scene.MakeSheet(0, kKey);
    ASSERT_EQ(sheet.Lock(), DD_OK);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 320; ++x)
            sheet.PutPixel(x, y, (x * 7 + y * 13) % 5 == 0 ? kKey : x + y);
    }
    sheet.Unlock();
    CDXSurface& back = *scene.screen->Back;
    const std::int32_t places[][2] = {{-31, -31}, {-8, 5},  {300, 200}, {620, 470},
                                      {639, 0},   {0, 479}, {-1, -1}};
    using Draw = HRESULT (CDXSurface::*)(CDXSurface*, std::int32_t, std::int32_t, RECT);
    const Draw draws[] = {&CDXSurface::DrawMirrorX, &CDXSurface::DrawMirrorXKeyed,
                          &CDXSurface::DrawMirrorY, &CDXSurface::DrawMirrorYKeyed};
    for (const Draw draw : draws) {
        for (const auto& place : places) {
            back.Fill(kUntouched);
            scene.host.RefuseMirroredBlts(DD_OK);
            EXPECT_EQ((sheet.*draw)(&back, place[0], place[1], RECT{64, 32, 96, 64}), DD_OK);
            const auto byService = AllPixels(back);
            back.Fill(kUntouched);
            scene.host.RefuseMirroredBlts(DDERR_SURFACELOST);
            EXPECT_EQ((sheet.*draw)(&back, place[0], place[1], RECT{64, 32, 96, 64}), DD_OK);
            ASSERT_EQ(AllPixels(back), byService) << place[0] << "," << place[1];
        }
    }
}

TEST(MirrorPaths, RedColumnLandsOnTheRightWhenTheServiceRefuses) {
    BlitterScene scene(16);
    ASSERT_TRUE(scene.ready);
    CDXTile& sheet = scene.MakeSheet(0x001F, 0xFFFF);  // blue; the key is set to white
    sheet.FillRect(0, 0, 1, 64, 0xF800);               // leftmost column red
    scene.host.RefuseMirroredBlts(DDERR_UNSUPPORTED);
    CDXSurface& back = *scene.screen->Back;
    back.Fill(0);
    EXPECT_EQ(sheet.DrawMirrorX(&back, 200, 100, RECT{0, 0, 32, 32}), DD_OK);
    const auto after = AllPixels(back);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const bool inside = x >= 200 && x < 232 && y >= 100 && y < 132;
            const std::uint32_t expected = !inside ? 0 : x == 231 ? 0xF800 : 0x001F;
            ASSERT_EQ(after[y * 640 + x], expected) << x << "," << y;
        }
    }
}

TEST(MirrorPaths, TheSoftwarePathReportsAFailedLockAndDrawsNothing) {
    BlitterScene scene(16);
    ASSERT_TRUE(scene.ready);
    CDXTile& sheet = scene.MakeSheet(0x001F, 0xFFFF);
    scene.host.RefuseMirroredBlts(DDERR_UNSUPPORTED);
    CDXSurface& back = *scene.screen->Back;
    back.Fill(0);
    const auto before = AllPixels(back);
    scene.host.RefuseLocks(1, DDERR_INVALIDPARAMS);
    EXPECT_EQ(sheet.DrawMirrorY(&back, 10, 10, RECT{0, 0, 32, 32}), DDERR_INVALIDPARAMS);
    EXPECT_EQ(AllPixels(back), before);
}

}  // namespace
