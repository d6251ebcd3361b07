// The blends and shadows drawn from sprite sheets onto the screen: clipping, locks, depths,
// the alpha map's fall-back and the routing of the blit modes.

#include <gtest/gtest.h>

#include <optional>

#include "blitter_scene.h"
#include "pixel_blend.h"

using namespace cdx;

using namespace platform;

namespace {

constexpr RECT kFrame{0, 0, 32, 32};

// A screen of the given depth with a keyed sheet on it: where most of these cases start.
class SoftwareDraws : public ::testing::Test {
protected:
    // Call as ASSERT_NO_FATAL_FAILURE(Open(...)): a screen that cannot be made ends the case.
    void Open(int depth, std::uint32_t value, std::uint32_t key) {
        scene_.emplace(depth);
        ASSERT_TRUE(scene_->ready) << depth;
        sheet_ = &scene_->MakeSheet(value, key);
    }
    BlitterScene& scene() { return *scene_; }
    CDXTile& sheet() { return *sheet_; }
    CDXSurface& back() { return *scene_->screen->Back; }

private:
    std::optional<BlitterScene> scene_;
    CDXTile* sheet_ = nullptr;
};

TEST_F(SoftwareDraws, NothingVisibleTakesNoLockAndReportsGeneric) {
    ASSERT_NO_FATAL_FAILURE(Open(16, 0xFFFF, 0x0001));
    back().Fill(0x1234);
    const auto before = AllPixels(back());
    scene().host.RefuseLocks(1, DDERR_INVALIDPARAMS);
    EXPECT_EQ(sheet().DrawAverage(&back(), 640, 0, kFrame), DDERR_GENERIC);
    EXPECT_EQ(sheet().DrawShadow(&back(), -32, 0, kFrame, 0), DDERR_GENERIC);
    EXPECT_EQ(sheet().DrawHalfShadowKeyed(&back(), 0, 480, kFrame), DDERR_GENERIC);
    // The refusal is still waiting: no draw above asked for a lock.
    EXPECT_EQ(back().Lock(), DDERR_INVALIDPARAMS);
    EXPECT_EQ(AllPixels(back()), before);
}

TEST_F(SoftwareDraws, AFailedLockTouchesNothingAndIsReported) {
    ASSERT_NO_FATAL_FAILURE(Open(16, 0xFFFF, 0x0001));
    back().Fill(0x1234);
    const auto before = AllPixels(back());

    // The source's lock fails.
    scene().host.RefuseLocks(1, DDERR_INVALIDPARAMS);
    EXPECT_EQ(sheet().DrawTranslucent(&back(), 10, 10, kFrame, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(AllPixels(back()), before);

    // The destination's lock fails (it is held elsewhere); the source is let go again.
    ASSERT_EQ(back().Lock(), DD_OK);
    EXPECT_EQ(sheet().DrawAverage(&back(), 10, 10, kFrame), DDERR_SURFACEBUSY);
    back().Unlock();
    EXPECT_EQ(AllPixels(back()), before);
    EXPECT_EQ(sheet().Lock(), DD_OK);
    sheet().Unlock();
}

TEST_F(SoftwareDraws, DepthsWithoutArithmeticDrawNothingAndSucceed) {
    ASSERT_NO_FATAL_FAILURE(Open(8, 0xFF, 0x01));
    back().Fill(0x12);
    const auto before = AllPixels(back());
    EXPECT_EQ(sheet().DrawAverage(&back(), 10, 10, kFrame), DD_OK);
    EXPECT_EQ(sheet().DrawShadowKeyed(&back(), 10, 10, kFrame, 0), DD_OK);
    EXPECT_EQ(AllPixels(back()), before);
}

TEST_F(SoftwareDraws, AClippedRowOfWidthOneChangesOnePixelPerRow) {
    ASSERT_NO_FATAL_FAILURE(Open(16, 0xFFFF, 0x0001));
    back().Fill(0x0000);
    EXPECT_EQ(sheet().DrawAverage(&back(), 639, 470, RECT{32, 0, 64, 32}), DD_OK);
    int changed = 0;
    const auto after = AllPixels(back());
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (after[y * 640 + x] != 0) {
                ++changed;
                EXPECT_EQ(x, 639);
                EXPECT_EQ(after[y * 640 + x], 0x7BEFu);
            }
        }
    }
    EXPECT_EQ(changed, 10);
}

TEST_F(SoftwareDraws, ThirtyTwoBitPixelsKeepTheirFourthByte) {
    ASSERT_NO_FATAL_FAILURE(Open(32, 0x00FFFFFF, 0x00000001));
    back().Fill(0xAA808080);
    EXPECT_EQ(sheet().DrawShadow(&back(), 0, 0, kFrame, 0), DD_OK);
    EXPECT_EQ(scene().Pixel(back(), 5, 5), 0xAA000000u);
    EXPECT_EQ(sheet().DrawTranslucent(&back(), 0, 0, kFrame, 0), DD_OK);
    EXPECT_EQ(scene().Pixel(back(), 5, 5), 0xAAFFFFFFu);
    EXPECT_EQ(sheet().DrawHalfShadow(&back(), 0, 0, kFrame), DD_OK);
    EXPECT_EQ(scene().Pixel(back(), 5, 5), 0xAA7F7F7Fu);
}

TEST_F(SoftwareDraws, TwentyFourBitKeysAreTheColourBytes) {
    ASSERT_NO_FATAL_FAILURE(Open(24, 0xFFFFFF, 0x102030));
    back().Fill(0x000000);
    EXPECT_EQ(sheet().DrawAverageKeyed(&back(), 0, 0, kFrame), DD_OK);
    EXPECT_EQ(scene().Pixel(back(), 0, 0), 0x000000u);
    EXPECT_EQ(scene().Pixel(back(), 1, 0), 0x7F7F7Fu);
}

TEST_F(SoftwareDraws, OnePixelSurfacesAreKeyedByThatPixelsOwnBytes) {
    const struct {
        int depth;
        std::uint32_t pixel;
    } cases[] = {{8, 0xA5}, {16, 0xBEEF}, {24, 0xC0FFEE}, {32, 0x00ABCDEF}};
    for (const auto& c : cases) {
        BlitterScene scene(c.depth);
        ASSERT_TRUE(scene.ready) << c.depth;
        // Unpadded rows: the surface's memory is exactly its one pixel.
        scene.host.SetRowPadding(0);
        CDXSurface dot(scene.screen.get(), 1, 1, 1);
        ASSERT_TRUE(dot.Surface) << c.depth;
        dot.Fill(c.pixel);
        dot.SetColorKey();
        EXPECT_EQ(dot.ColorKey, c.pixel) << c.depth;
    }
}

TEST_F(SoftwareDraws, FifteenBitTranslucencyThroughTheSurfaces) {
    ASSERT_NO_FATAL_FAILURE(Open(15, 31 << 10, 0x0001));
    back().Fill(0x0000);
    EXPECT_EQ(sheet().DrawTranslucentKeyed(&back(), 0, 0, kFrame, 1), DD_OK);
    EXPECT_EQ(scene().Pixel(back(), 0, 0), 0x0000u);  // keyed
    EXPECT_EQ(scene().Pixel(back(), 1, 0), 30u << 10);
}

TEST_F(SoftwareDraws, AlphaMapBlendsByThePerPixelWeight) {
    ASSERT_NO_FATAL_FAILURE(Open(16, 0xFFFF, 0x0001));
    back().Fill(0x0000);
    sheet().AlphaMap = std::make_unique<std::uint8_t[]>(320 * 64);  // all 0
    const auto before = AllPixels(back());
    EXPECT_EQ(sheet().DrawAlphaMap(&back(), 0, 0, kFrame), DD_OK);
    EXPECT_EQ(AllPixels(back()), before);

    // Weight 255 in the frame's second column, 128 in its third, read at the frame's place.
    for (int y = 32; y < 64; ++y) {
        sheet().AlphaMap[y * 320 + 33] = 255;
        sheet().AlphaMap[y * 320 + 34] = 128;
    }
    EXPECT_EQ(sheet().DrawAlphaMap(&back(), 100, 100, RECT{32, 32, 64, 64}), DD_OK);
    EXPECT_EQ(scene().Pixel(back(), 100, 100), 0x0000u);
    EXPECT_EQ(scene().Pixel(back(), 101, 100), (30u << 11) | (62u << 5) | 30u);
    EXPECT_EQ(scene().Pixel(back(), 102, 131), (15u << 11) | (31u << 5) | 15u);
    EXPECT_EQ(scene().Pixel(back(), 103, 100), 0x0000u);
}

TEST_F(SoftwareDraws, AnAlphaMapIsReadOnlyWhileItFitsTheSurfacesMemory) {
    ASSERT_NO_FATAL_FAILURE(Open(16, 0xFFFF, 0x0001));
    sheet().AlphaMap = std::make_unique<std::uint8_t[]>(320 * 64);

    back().Fill(0x1234);
    const auto before = AllPixels(back());
    // A width set by hand would step the map's rows past its end.
    sheet().PixelWidth = 640;
    EXPECT_EQ(sheet().DrawAlphaMap(&back(), 0, 0, RECT{288, 32, 320, 64}), DDERR_INVALIDRECT);
    EXPECT_EQ(AllPixels(back()), before);
    sheet().PixelWidth = 320;
    EXPECT_EQ(sheet().DrawAlphaMap(&back(), 0, 0, RECT{288, 32, 320, 64}), DD_OK);
}

TEST_F(SoftwareDraws, AlphaMapOnABitmapSheetDrawsAKeyedCopyAndReportsGeneric) {
    BlitterScene scene(16);
    ASSERT_TRUE(scene.ready);
    CDXTile sheet;
    ASSERT_EQ(sheet.Create(scene.screen.get(), ZELTO_GAME_DIR "/SPIKE.BMP", 32, 32, 40, 2), 1);
    sheet.SetColorKey();
    ASSERT_EQ(sheet.AlphaMap, nullptr);
    CDXSurface& back = *scene.screen->Back;
    CDXSurface copy(scene.screen.get(), 640, 480, 1);
    back.Fill(0x4208);
    copy.Fill(0x4208);
    CDXSprite sprite;
    sprite.Create(&sheet);
    sprite.Frame = 3;
    sprite.PosX = -5;
    sprite.PosY = 200;
    sprite.Draw(&back, 0, 0, CDXBlitMode::AlphaMapKeyed);
    EXPECT_EQ(sheet.DrawAlphaMap(&back, -5, 300, RECT{96, 0, 128, 32}), DDERR_GENERIC);
    sprite.Draw(&copy, 0, 0, CDXBlitMode::CopyKeyed);
    sheet.DrawCopyKeyed(&copy, -5, 300, RECT{96, 0, 128, 32});
    EXPECT_EQ(AllPixels(back), AllPixels(copy));
}

TEST_F(SoftwareDraws, ShadowModesMoveByTheOffsetAndDarkenTheSilhouette) {
    ASSERT_NO_FATAL_FAILURE(Open(16, 0x0000, 0x07E0));
    // The frame's silhouette: its left half is keyed.
    sheet().FillRect(0, 0, 16, 32, 0x07E0);

    back().Fill(0xFFFF);
    CDXSprite sprite;
    sprite.Create(&sheet());
    sprite.PosX = 100;
    sprite.PosY = 100;
    sprite.ShadowOffsetX = -4;
    sprite.ShadowOffsetY = -4;
    sprite.ShadowValue = 128;
    sprite.Draw(&back(), 0, 0, CDXBlitMode::ShadowKeyed);
    for (int y = 96; y < 140; ++y) {
        for (int x = 96; x < 140; ++x) {
            const bool shaded = x >= 104 + 16 && x < 136 && y >= 104 && y < 136;
            ASSERT_EQ(scene().Pixel(back(), x, y), shaded ? 0x7BEFu : 0xFFFFu) << x << "," << y;
        }
    }
}

TEST_F(SoftwareDraws, EveryBlendAndShadowModeIsRouted) {
    ASSERT_NO_FATAL_FAILURE(Open(16, 0xFFFF, 0x0001));
    sheet().AlphaMap = std::make_unique<std::uint8_t[]>(320 * 64);
    for (int i = 0; i < 320 * 64; ++i) sheet().AlphaMap[i] = 255;

    CDXSprite sprite;
    sprite.Create(&sheet());
    sprite.PosX = 10;
    sprite.PosY = 10;
    sprite.Translucency = 128;
    sprite.ShadowValue = 64;
    struct Expectation {
        CDXBlitMode mode;
        std::uint32_t corner;  // the keyed top-left pixel's place
        std::uint32_t inside;
    };
    const std::uint32_t d = 0x8410;  // each channel at its half and a little
    const Expectation expectations[] = {
        {CDXBlitMode::Translucent, 0x4208, 0xBDF7}, {CDXBlitMode::TranslucentKeyed, d, 0xBDF7},
        {CDXBlitMode::Average, 0x4208, 0xBDF7},     {CDXBlitMode::AverageKeyed, d, 0xBDF7},
        {CDXBlitMode::Shadow, 0x2104, 0x2104},      {CDXBlitMode::ShadowKeyed, d, 0x2104},
        {CDXBlitMode::HalfShadow, 0x4208, 0x4208},  {CDXBlitMode::HalfShadowKeyed, d, 0x4208},
        {CDXBlitMode::AlphaMapKeyed, d, 0xF7DE},
    };
    for (const Expectation& e : expectations) {
        back().Fill(d);
        sprite.Draw(&back(), 0, 0, e.mode);
        EXPECT_EQ(scene().Pixel(back(), 10, 10), e.corner) << static_cast<int>(e.mode);
        EXPECT_EQ(scene().Pixel(back(), 20, 20), e.inside) << static_cast<int>(e.mode);
        EXPECT_EQ(scene().Pixel(back(), 42, 42), d) << static_cast<int>(e.mode);
    }
}

}  // namespace
