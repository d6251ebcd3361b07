// SPDX-License-Identifier: MIT
// Blit clipping and the display-service draws: rectangle arithmetic, clipped source columns
// and rows, refusals, and the restore of a lost source.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "cdx/surface/cdxclip.h"
#include "test_pictures.h"

using namespace cdx;

using namespace platform;
using namespace testpictures;

namespace {

// Column c of a test frame holds c + 1, so no pixel is 0 (the cleared destination) and the
// value tells the source column.
std::uint32_t ColumnNumber(int column) {
    return static_cast<std::uint32_t>(column + 1);
}

void ExpectRect(const RECT& rect, int left, int top, int right, int bottom) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right, right);
    EXPECT_EQ(rect.bottom, bottom);
}

class DrawTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        frame.Create(screen.get(), 32, 32, 2);
        FillColumns(frame, ColumnNumber);
    }

    // The smallest rectangle holding every non-zero pixel of the back buffer.
    RECT DrawnRect() {
        RECT drawn{640, 480, 0, 0};
        EXPECT_EQ(screen->Back->Lock(), DD_OK);
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                if (screen->Back->GetPixel(x, y) == 0) continue;
                drawn.left = std::min(drawn.left, x);
                drawn.top = std::min(drawn.top, y);
                drawn.right = std::max(drawn.right, x + 1);
                drawn.bottom = std::max(drawn.bottom, y + 1);
            }
        }
        screen->Back->Unlock();
        return drawn;
    }

    CDXSurface frame;
    const RECT whole{0, 0, 32, 32};
};

}  // namespace

TEST_F(DrawTest, ClipBlitCutsSourceAndPositionToTheVisiblePart) {
    RECT src = whole;
    std::int32_t x = -8;
    std::int32_t y = 470;
    ASSERT_TRUE(frame.ClipBlit(*screen->Back, x, y, src));
    ExpectRect(src, 8, 0, 32, 10);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 470);

    // Touching the clip rectangle's edge only is outside.
    src = whole;
    x = 640;
    y = 0;
    EXPECT_FALSE(frame.ClipBlit(*screen->Back, x, y, src));
    ExpectRect(src, 0, 0, 32, 32);
    EXPECT_EQ(x, 640);
    x = -32;
    EXPECT_FALSE(frame.ClipBlit(*screen->Back, x, y, src));

    // A frame below its sheet is rejected by the sheet's own clip rectangle.
    src = RECT{0, 32, 32, 64};
    x = 0;
    EXPECT_FALSE(frame.ClipBlit(*screen->Back, x, y, src));

    // A frame reaching past the sheet's edge keeps its position and loses the outside part.
    src = RECT{16, -4, 48, 28};
    x = 100;
    y = 100;
    ASSERT_TRUE(frame.ClipBlit(*screen->Back, x, y, src));
    ExpectRect(src, 16, 0, 32, 28);
    EXPECT_EQ(x, 100);

    // Positions at the ends of the 32-bit range do not wrap.
    src = whole;
    x = INT32_MAX;
    EXPECT_FALSE(frame.ClipBlit(*screen->Back, x, y, src));
    src = whole;
    x = INT32_MIN;
    EXPECT_FALSE(frame.ClipBlit(*screen->Back, x, y, src));
}

TEST_F(DrawTest, AnInvertedClipRectangleNeverDrawsANegativeSize) {
    RECT rect{10, 10, 20, 20};
    Rect64 wide{10, 10, 20, 20};
    EXPECT_TRUE(ClipRect64(wide, RECT{15, 0, 12, 480}));
    EXPECT_GT(wide.left, wide.right);  // the clip lets it through inverted

    screen->Back->SetClipRect(RECT{300, 0, 100, 480});
    std::int32_t x = 90;
    std::int32_t y = 0;
    rect = whole;
    EXPECT_FALSE(frame.ClipBlit(*screen->Back, x, y, rect));
    EXPECT_EQ(frame.DrawCopy(screen->Back, 90, 0, whole), DDERR_GENERIC);
    EXPECT_EQ(DrawnRect().right, 0);
}

TEST_F(DrawTest, CopiesLandClippedAndKeyedCopiesLeaveTheKeyOut) {
    ASSERT_EQ(frame.DrawCopy(screen->Back, -8, 470, whole), DD_OK);
    ExpectRect(DrawnRect(), 0, 470, 24, 480);
    EXPECT_EQ(PixelOf(*screen->Back, 0, 475), 9u);

    screen->Back->Fill(0);
    frame.FillRect(0, 0, 1, 1, 0xBEEF);
    frame.FillRect(4, 4, 6, 6, 0xBEEF);
    frame.SetColorKey();
    screen->Back->Fill(0x5555);
    ASSERT_EQ(frame.DrawCopyKeyed(screen->Back, 100, 200, whole), DD_OK);
    EXPECT_EQ(PixelOf(*screen->Back, 100, 200), 0x5555u);
    EXPECT_EQ(PixelOf(*screen->Back, 105, 205), 0x5555u);
    EXPECT_EQ(PixelOf(*screen->Back, 106, 205), 7u);

    // Wholly outside: no call, nothing drawn.
    screen->Back->Fill(0);
    EXPECT_EQ(frame.DrawCopyKeyed(screen->Back, 700, 0, whole), DDERR_GENERIC);
    EXPECT_EQ(DrawnRect().right, 0);
}

TEST_F(DrawTest, ScaledAndResizedRectanglesKeepTheFramesCentre) {
    ASSERT_EQ(frame.DrawScaled(screen->Back, 100, 100, whole, 2.0f), DD_OK);
    ExpectRect(DrawnRect(), 84, 84, 148, 148);
    screen->Back->Fill(0);
    ASSERT_EQ(frame.DrawScaledKeyed(screen->Back, 100, 100, whole, 0.5f), DD_OK);
    ExpectRect(DrawnRect(), 108, 108, 124, 124);
    screen->Back->Fill(0);
    ASSERT_EQ(frame.DrawResized(screen->Back, 100, 100, whole, 64, 16), DD_OK);
    ExpectRect(DrawnRect(), 84, 108, 148, 124);

    // A zero target size, a negative factor and a factor that is not a number draw nothing.
    screen->Back->Fill(0);
    EXPECT_EQ(frame.DrawResizedKeyed(screen->Back, 100, 100, whole, 0, 16), DDERR_GENERIC);
    EXPECT_NE(frame.DrawScaled(screen->Back, 100, 100, whole, -1.0f), DD_OK);
    EXPECT_NE(frame.DrawScaled(screen->Back, 100, 100, whole, std::nanf("")), DD_OK);
    // A factor so large its rectangle leaves every range.
    EXPECT_NE(frame.DrawScaled(screen->Back, 100, 100, whole, 1e30f), DD_OK);
    EXPECT_EQ(DrawnRect().right, 0);
}

TEST_F(DrawTest, ClippedStretchesLoseTheMatchingSourceColumns) {
    // Scaled by 2 with D.left at -10: five source columns are cut on the left, so
    // destination column 0 shows source column 5.
    ASSERT_EQ(frame.DrawScaled(screen->Back, 6, 100, whole, 2.0f), DD_OK);
    EXPECT_EQ(PixelOf(*screen->Back, 0, 100), ColumnNumber(5));
    ExpectRect(DrawnRect(), 0, 84, 54, 148);

    // Resized from 32 to 16 wide with D four pixels past the right edge: eight source columns
    // go on the right, so the last visible column (of 12) shows source column 22, not 29.
    screen->Back->Fill(0);
    ASSERT_EQ(frame.DrawResized(screen->Back, 620, 100, whole, 16, 32), DD_OK);
    ExpectRect(DrawnRect(), 628, 100, 640, 132);
    EXPECT_EQ(PixelOf(*screen->Back, 639, 110), ColumnNumber(22));
    EXPECT_EQ(PixelOf(*screen->Back, 628, 110), ColumnNumber(0));
}

TEST_F(DrawTest, ALostSourceIsRestoredAndTheDrawNotRepeated) {
    host.LoseDisplay();
    screen->RestoreAll();
    screen->Back->Fill(0);
    EXPECT_EQ(frame.DrawCopyKeyed(screen->Back, 0, 0, whole), DDERR_SURFACELOST);
    EXPECT_EQ(frame.Surface->IsLost(), DD_OK);
    EXPECT_EQ(DrawnRect().right, 0);
    host.LoseDisplay();
    screen->RestoreAll();
    screen->Back->Fill(0);
    EXPECT_EQ(frame.DrawScaledKeyed(screen->Back, 0, 0, whole, 1.0f), DDERR_SURFACELOST);
    EXPECT_EQ(frame.Surface->IsLost(), DD_OK);
    // Restored memory: the next draw shows the restore pattern of a surface without picture.
    ASSERT_EQ(frame.DrawCopy(screen->Back, 0, 0, whole), DD_OK);
    EXPECT_EQ(PixelOf(*screen->Back, 3, 3), 0xCDCDu);
}
