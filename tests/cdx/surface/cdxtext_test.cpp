// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <utility>

#include "cdx/surface/cdxscreen.h"
#include "platform/fake/fake_host.h"
#include "platform/text/text_service.h"

using namespace cdx;

using namespace platform;

namespace {

class TextTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        SetHost(&host);
        host.SetRowPadding(4);
        screen = std::make_unique<CDXScreen>();
        ASSERT_EQ(screen->CreateFullScreen(reinterpret_cast<HWND>(1), 640, 480, GetParam(), 0), 1);
    }

    // Counts the pixels of a surface that hold value, and those that hold neither value nor
    // background.
    void Count(CDXSurface& surface, std::uint32_t value, std::uint32_t background, int& inked,
               int& other) {
        inked = other = 0;
        ASSERT_EQ(surface.Lock(), DD_OK);
        for (int y = 0; y < surface.PixelHeight; ++y) {
            for (int x = 0; x < surface.PixelWidth; ++x) {
                const std::uint32_t pixel = surface.GetPixel(x, y) & 0xFFFFFF;
                if (pixel == value)
                    ++inked;
                else if (pixel != background)
                    ++other;
            }
        }
        surface.Unlock();
    }

    FakeHost host;
    std::unique_ptr<CDXScreen> screen;
};

}  // namespace

TEST_P(TextTest, RedTextIsTheSurfacesRedAndTouchesNothingElse) {
    CDXSurface surface(screen.get(), 300, 60, 1);
    const std::uint32_t background = 0x0421;
    surface.Fill(background);
    ASSERT_NE(surface.GetDC(), nullptr);
    surface.MakeFont("Script", 0, 40, 700);
    surface.SelectFont();
    EXPECT_TRUE(surface.DrawString(10, 5, 0x0000FF, "Game Over!"));
    surface.ReleaseDC();
    std::uint32_t red = 0xF800;
    std::uint32_t backgroundBits = background;
    switch (GetParam()) {
        case 8:
            red = 0xE0;  // the default palette's pure red
            backgroundBits = background & 0xFF;
            break;
        case 15:
            red = 0x7C00;
            break;
        case 24:
        case 32:
            red = 0xFF0000;
            break;
    }
    int inked = 0, other = 0;
    Count(surface, red, backgroundBits, inked, other);
    EXPECT_GT(inked, 200);
    EXPECT_EQ(other, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, TextTest, ::testing::Values(8, 15, 16, 24, 32));

TEST(Text, ContextsBlockLocksAndFontsAreReplacedNotPiledUp) {
    FakeHost host;
    SetHost(&host);
    CDXScreen screen;
    ASSERT_EQ(screen.CreateFullScreen(reinterpret_cast<HWND>(1), 640, 480, 16, 0), 1);
    CDXSurface surface(&screen, 200, 40, 1);
    ASSERT_NE(surface.GetDC(), nullptr);
    EXPECT_EQ(surface.Lock(), DDERR_DCALREADYCREATED);
    EXPECT_EQ(surface.GetDC(), nullptr);  // one context at a time
    const int fontsBefore = LiveFontCount();
    surface.MakeFont("Script", 0, 20, 700);
    surface.SelectFont();
    HFONT second = surface.MakeFont("Script", 0, 20, 700);
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(surface.Font, second);
    EXPECT_EQ(LiveFontCount(), fontsBefore + 1);
    EXPECT_EQ(surface.DC->font, nullptr);  // the deleted font left the context
    surface.ReleaseDC();
    EXPECT_EQ(surface.DC, nullptr);
    EXPECT_EQ(surface.Lock(), DD_OK);
    surface.Unlock();
}

TEST(Text, StringsStopAtTheFirstZeroByte) {
    FakeHost host;
    SetHost(&host);
    CDXScreen screen;
    ASSERT_EQ(screen.CreateFullScreen(reinterpret_cast<HWND>(1), 640, 480, 16, 0), 1);
    CDXSurface shortText(&screen, 200, 30, 1);
    CDXSurface cutText(&screen, 200, 30, 1);
    const char withZero[] = "AB\0CD";
    for (auto [surface, text] : {std::pair{&shortText, "AB"}, std::pair{&cutText, withZero}}) {
        surface->Fill(0);
        surface->GetDC();
        surface->DrawString(2, 2, 0xFFFFFF, text);
        surface->ReleaseDC();
    }
    ASSERT_EQ(shortText.Lock(), DD_OK);
    ASSERT_EQ(cutText.Lock(), DD_OK);
    int differences = 0, inked = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 200; ++x) {
            differences += shortText.GetPixel(x, y) != cutText.GetPixel(x, y);
            inked += shortText.GetPixel(x, y) != 0;
        }
    }
    shortText.Unlock();
    cutText.Unlock();
    EXPECT_EQ(differences, 0);
    EXPECT_GT(inked, 20);
}

TEST(Text, TextWidthIsWhereTheNextStringWouldGoOn) {
    FakeHost host;
    SetHost(&host);
    CDXScreen screen;
    ASSERT_EQ(screen.CreateFullScreen(reinterpret_cast<HWND>(1), 640, 480, 16, 0), 1);
    CDXSurface whole(&screen, 400, 50, 1);
    CDXSurface inTwo(&screen, 400, 50, 1);
    EXPECT_EQ(whole.TextWidth("Energon"), 0) << "no context";
    for (CDXSurface* surface : {&whole, &inTwo}) {
        surface->Fill(0);
        ASSERT_NE(surface->GetDC(), nullptr);
        surface->MakeFont("Script", 0, 40, 700);
        surface->SelectFont();
    }
    whole.DrawString(3, 2, 0xFFFFFF, "Energon, 1234 rads");
    const std::int32_t width = inTwo.TextWidth("Energon,");
    EXPECT_GT(width, 60);
    EXPECT_EQ(inTwo.TextWidth(""), 0);
    inTwo.DrawString(3, 2, 0xFFFFFF, "Energon,");
    inTwo.DrawString(3 + width, 2, 0xFFFFFF, " 1234 rads");
    whole.ReleaseDC();
    inTwo.ReleaseDC();
    ASSERT_EQ(whole.Lock(), DD_OK);
    ASSERT_EQ(inTwo.Lock(), DD_OK);
    int differences = 0, inked = 0;
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 400; ++x) {
            differences += whole.GetPixel(x, y) != inTwo.GetPixel(x, y);
            inked += whole.GetPixel(x, y) != 0;
        }
    }
    whole.Unlock();
    inTwo.Unlock();
    EXPECT_EQ(differences, 0);
    EXPECT_GT(inked, 200);
}

TEST(Text, GlyphsComeOutTheSameWhicheverOrderTextFirstUsesThemIn) {
    FakeHost host;
    SetHost(&host);
    // Starting the service early, even twice, only starts it sooner.
    StartTextServiceEarly();
    StartTextServiceEarly();
    CDXScreen screen;
    ASSERT_EQ(screen.CreateFullScreen(reinterpret_cast<HWND>(1), 640, 480, 16, 0), 1);
    // Two spellings of one family are two faces of the same font, each rendering its glyphs
    // afresh: one meets the characters from the space up, the other from the top down.
    constexpr int kColumns = 16;
    constexpr int kCellWidth = 40;
    constexpr int kCellHeight = 30;
    CDXSurface upwards(&screen, kColumns * kCellWidth, 14 * kCellHeight, 1);
    CDXSurface downwards(&screen, kColumns * kCellWidth, 14 * kCellHeight, 1);
    const struct {
        CDXSurface* surface;
        const char* face;
        int first;
        int step;
    } passes[] = {{&upwards, "DejaVu Sans", 32, 1}, {&downwards, "DEJAVU SANS", 255, -1}};
    for (const auto& pass : passes) {
        pass.surface->Fill(0);
        ASSERT_NE(pass.surface->GetDC(), nullptr);
        pass.surface->MakeFont(pass.face, 0, 20, 700);
        pass.surface->SelectFont();
        for (int code = pass.first; code >= 32 && code <= 255; code += pass.step) {
            const char text[] = {static_cast<char>(code), 0};
            const int cell = code - 32;
            pass.surface->DrawString(cell % kColumns * kCellWidth, cell / kColumns * kCellHeight,
                                     0xFFFFFF, text);
        }
        // A whole string after its characters were met one by one.
        pass.surface->DrawString(0, 13 * kCellHeight, 0xFFFFFF, "Energon 1234 \xe9\xfc");
        pass.surface->ReleaseDC();
    }
    EXPECT_STREQ(MatchedFamily(upwards.Font), MatchedFamily(downwards.Font));
    ASSERT_EQ(upwards.Lock(), DD_OK);
    ASSERT_EQ(downwards.Lock(), DD_OK);
    int differences = 0, inked = 0;
    for (int y = 0; y < upwards.PixelHeight; ++y) {
        for (int x = 0; x < upwards.PixelWidth; ++x) {
            differences += upwards.GetPixel(x, y) != downwards.GetPixel(x, y);
            inked += upwards.GetPixel(x, y) != 0;
        }
    }
    upwards.Unlock();
    downwards.Unlock();
    EXPECT_EQ(differences, 0);
    EXPECT_GT(inked, 5000);
}

TEST(Text, FlipShowsTheFramesPerSecondOnlyWhenAsked) {
    FakeHost host;
    SetHost(&host);
    CDXScreen screen;
    ASSERT_EQ(screen.CreateFullScreen(reinterpret_cast<HWND>(1), 640, 480, 16, 0), 1);
    screen.Back->Fill(0);
    screen.Flip(1, 1, 0);
    screen.Back->Fill(0);
    screen.Flip(1, 1, 1);
    const auto& picture = host.Pictures().back();
    int lit = 0;
    for (int y = 20; y < 40; ++y) {
        for (int x = 10; x < 100; ++x) {
            // 0x00FFF0 is red 240, green 255, blue 0: 5-6-5 0xF7E0.
            if (picture.PixelAt(x, y) == 0xF7E0) ++lit;
        }
    }
    EXPECT_GT(lit, 20);
    EXPECT_EQ(host.Pictures()[host.Pictures().size() - 2].PixelAt(12, 25), 0u);
}
