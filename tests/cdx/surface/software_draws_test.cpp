// SPDX-License-Identifier: MIT
// The blends and shadows drawn from sprite sheets onto the screen: clipping, locks, depths,
// the alpha map's fall-back and the routing of the blit modes.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>
#include <vector>

#include "blend_reference.h"
#include "blitter_scene.h"
#include "cdx/blit/pixel_blend.h"

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

// A copy of a surface's memory, padding included, and the memory itself while unlocked.
std::vector<std::uint8_t> MemoryOf(CDXSurface& surface) {
    EXPECT_EQ(surface.Lock(), DD_OK);
    const auto* first = static_cast<const std::uint8_t*>(surface.Desc.lpSurface);
    std::vector<std::uint8_t> memory(first, first + surface.Desc.lPitch * surface.PixelHeight);
    surface.Unlock();
    return memory;
}

// One blend as the sprite code calls it.
struct BlendDraw {
    PixelOperation operation;
    bool keyed;
    std::uint16_t level;
};

HRESULT Draw(CDXTile& sheet, const BlendDraw& draw, CDXSurface& dest, int x, int y, RECT from) {
    switch (draw.operation) {
        case PixelOperation::Average:
            return draw.keyed ? sheet.DrawAverageKeyed(&dest, x, y, from)
                              : sheet.DrawAverage(&dest, x, y, from);
        case PixelOperation::Translucent:
            return draw.keyed ? sheet.DrawTranslucentKeyed(&dest, x, y, from, draw.level)
                              : sheet.DrawTranslucent(&dest, x, y, from, draw.level);
        case PixelOperation::AlphaMap:
            return sheet.DrawAlphaMap(&dest, x, y, from);
        default:
            return DDERR_UNSUPPORTED;
    }
}

// Every blend drawn through the surfaces at every depth, held pixel by pixel to the reference
// over the screen's whole memory: frames inside the screen, cut by each of its edges and by a
// clip rectangle, and a wider rectangle of odd width, on the scene's padded rows, from a sheet
// of random pixels (a third of them the key) with a random alpha map.
TEST(SoftwareBlends, EveryBlendThroughTheSurfacesMatchesTheReference) {
    const BlendDraw draws[] = {{PixelOperation::Average, false, 0},
                               {PixelOperation::Average, true, 0},
                               {PixelOperation::Translucent, false, 77},
                               {PixelOperation::Translucent, true, 200},
                               {PixelOperation::AlphaMap, true, 0}};
    struct Placement {
        int x;
        int y;
        RECT from;
        RECT clip;
    };
    const RECT whole{0, 0, 640, 480};
    const Placement placements[] = {
        {100, 100, RECT{0, 0, 32, 32}, whole},
        {-7, 50, RECT{32, 0, 64, 32}, whole},
        {619, 30, RECT{64, 32, 96, 64}, whole},
        {200, -9, RECT{96, 0, 128, 32}, whole},
        {300, 461, RECT{128, 32, 160, 64}, whole},
        {50, 200, RECT{3, 5, 70, 40}, whole},
        {40, 60, RECT{288, 32, 320, 64}, RECT{45, 63, 61, 90}},
    };
    std::mt19937 random(2024);
    for (const int depth : {15, 16, 24, 32}) {
        BlitterScene scene(depth);
        ASSERT_TRUE(scene.ready) << depth;
        const PixelLayout layout = *LayoutForDepth(static_cast<std::uint32_t>(depth));
        const int bytes = platform::PixelBytes(layout);
        const std::uint32_t colourBits = bytes == 2 ? 0xFFFFu : 0xFFFFFFu;
        CDXTile& sheet = scene.MakeSheet(0, 0);
        ASSERT_EQ(sheet.Lock(), DD_OK);
        const std::uint32_t key = random() & colourBits;
        for (int y = 0; y < sheet.PixelHeight; ++y) {
            for (int x = 0; x < sheet.PixelWidth; ++x) {
                const std::uint32_t value =
                    (x + y == 0 || random() % 3 == 0) ? key : random() & colourBits;
                std::uint8_t* at = static_cast<std::uint8_t*>(sheet.Desc.lpSurface) +
                                   y * sheet.Desc.lPitch + x * bytes;
                for (int i = 0; i < bytes; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
        }
        sheet.Unlock();
        sheet.SetColorKey();
        ASSERT_EQ(sheet.ColorKey, key);
        const std::size_t mapSize = static_cast<std::size_t>(sheet.PixelWidth) * sheet.PixelHeight;
        sheet.AlphaMap = std::make_unique<std::uint8_t[]>(mapSize);
        for (std::size_t i = 0; i < mapSize; ++i)
            sheet.AlphaMap[i] = static_cast<std::uint8_t>(random());
        const std::vector<std::uint8_t> sheetMemory = MemoryOf(sheet);
        const std::ptrdiff_t sheetPitch = sheet.Desc.lPitch;

        CDXSurface& back = *scene.screen->Back;
        ASSERT_EQ(back.Lock(), DD_OK);
        const std::ptrdiff_t backPitch = back.Desc.lPitch;
        auto* backMemory = static_cast<std::uint8_t*>(back.Desc.lpSurface);
        for (std::ptrdiff_t i = 0; i < backPitch * back.PixelHeight; ++i) {
            backMemory[i] = static_cast<std::uint8_t>(random());
        }
        back.Unlock();

        for (const BlendDraw& draw : draws) {
            PixelBlend blend{draw.operation, draw.level, std::nullopt};
            if (draw.keyed) blend.key = key;
            for (const Placement& p : placements) {
                back.SetClipRect(p.clip);
                std::vector<std::uint8_t> expected = MemoryOf(back);
                for (int row = 0; row < p.from.bottom - p.from.top; ++row) {
                    for (int column = 0; column < p.from.right - p.from.left; ++column) {
                        const int x = p.x + column;
                        const int y = p.y + row;
                        if (x < p.clip.left || x >= p.clip.right || y < p.clip.top ||
                            y >= p.clip.bottom) {
                            continue;
                        }
                        const int sourceX = p.from.left + column;
                        const int sourceY = p.from.top + row;
                        ReferencePixel(layout, blend,
                                       &sheetMemory[sourceY * sheetPitch + sourceX * bytes],
                                       &expected[y * backPitch + x * bytes],
                                       sheet.AlphaMap[sourceY * sheet.PixelWidth + sourceX]);
                    }
                }
                ASSERT_EQ(Draw(sheet, draw, back, p.x, p.y, p.from), DD_OK);
                ASSERT_EQ(MemoryOf(back), expected)
                    << "depth " << depth << " operation " << static_cast<int>(draw.operation)
                    << " keyed " << draw.keyed << " at " << p.x << "," << p.y;
            }
        }
        back.SetClipRect(whole);
    }
}

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
