// The screen fader: its brightness tables, the cross-fade and the fade-out as the screen shows
// them (one step per refresh), and the game's fade on Escape.

#include "screenfader.h"

#include <gtest/gtest.h>

#include <memory>

#include "fake_host.h"
#include "zelto.h"

using namespace platform;

namespace {

using namespace cdx;
using namespace zelto;

struct ChannelField {
    std::uint32_t mask;
    int shift;
};

class FaderTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        SetHost(&host);
        host.SetRowPadding(6);
        host.SetPicturesKept(64);
        screen = std::make_unique<CDXScreen>();
        ASSERT_EQ(screen->CreateFullScreen(reinterpret_cast<HWND>(1), 640, 480, GetParam(), 0), 1);
        fader = std::make_unique<ScreenFader>(screen.get());
    }
    void TearDown() override {
        fader.reset();
        screen.reset();
    }
    std::vector<ChannelField> Channels() const {
        if (GetParam() == 15) return {{0x1F, 0}, {0x1F, 5}, {0x1F, 10}};
        return {{0x1F, 0}, {0x3F, 5}, {0x1F, 11}};
    }
    // A picture whose pixels run through every channel value.
    void Paint(CDXSurface& surface, std::uint32_t seed) {
        ASSERT_EQ(surface.Lock(), DD_OK);
        const std::uint32_t valid = GetParam() == 15 ? 0x7FFF : 0xFFFF;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                surface.PutPixel(x, y, ((x * 37u + y * 101u) * seed + seed) & valid);
            }
        }
        surface.Unlock();
    }
    std::vector<std::uint32_t> PixelsOf(CDXSurface& surface) {
        std::vector<std::uint32_t> pixels;
        EXPECT_EQ(surface.Lock(), DD_OK);
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) pixels.push_back(surface.GetPixel(x, y));
        }
        surface.Unlock();
        return pixels;
    }
    static std::vector<std::uint32_t> PixelsOf(const FakeHost::Picture& picture) {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) pixels.push_back(picture.PixelAt(x, y));
        }
        return pixels;
    }
    // The pictures shown since the count stood at `since`.
    std::vector<const FakeHost::Picture*> ShownSince(std::uint64_t since) {
        std::vector<const FakeHost::Picture*> shown;
        const std::uint64_t total = host.PictureCount();
        const auto& kept = host.Pictures();
        for (std::size_t i = 0; i < kept.size(); ++i) {
            if (total - kept.size() + i >= since) shown.push_back(&kept[i]);
        }
        return shown;
    }

    FakeHost host;
    std::unique_ptr<CDXScreen> screen;
    std::unique_ptr<ScreenFader> fader;
};

TEST_P(FaderTest, TableZeroIsBlackAndTableThirtyOneTheIdentity) {
    const std::uint32_t valid = GetParam() == 15 ? 0x7FFF : 0xFFFF;
    for (std::uint32_t value = 0; value <= valid; ++value) {
        ASSERT_EQ(fader->Brightness(0, static_cast<std::uint16_t>(value)), 0) << value;
        ASSERT_EQ(fader->Brightness(31, static_cast<std::uint16_t>(value)), value) << value;
    }
    if (GetParam() == 16) {
        EXPECT_EQ(fader->Brightness(15, 0xFFFF), 0x7BCF);
    }
}

TEST_P(FaderTest, ChannelsAreScaledApartAndNoPairEverCarries) {
    const auto channels = Channels();
    for (int step = 0; step < ScreenFader::kLevels; ++step) {
        // Every entry is its channels scaled one by one.
        for (std::uint32_t value = 0; value < (GetParam() == 15 ? 0x8000u : 0x10000u); ++value) {
            std::uint32_t parts = 0;
            for (const ChannelField& c : channels) {
                parts |= fader->Brightness(step,
                                           static_cast<std::uint16_t>(value & (c.mask << c.shift)));
            }
            ASSERT_EQ(fader->Brightness(step, static_cast<std::uint16_t>(value)), parts);
        }
        // So a pair carries nowhere when no channel's two parts overflow it.
        for (const ChannelField& c : channels) {
            for (std::uint32_t a = 0; a <= c.mask; ++a) {
                for (std::uint32_t b = 0; b <= c.mask; ++b) {
                    const std::uint32_t sum =
                        fader->Brightness(step, static_cast<std::uint16_t>(a << c.shift)) +
                        fader->Brightness(31 - step, static_cast<std::uint16_t>(b << c.shift));
                    ASSERT_EQ(sum & ~(c.mask << c.shift), 0u) << step << " " << a << " " << b;
                }
            }
        }
    }
}

TEST_P(FaderTest, ConstructionClearsBothBuffers) {
    screen->Front->Fill(0x1234);
    screen->Back->Fill(0x1234);
    ScreenFader another(screen.get());
    for (CDXSurface* surface : {screen->Front, screen->Back}) {
        for (const std::uint32_t pixel : PixelsOf(*surface)) ASSERT_EQ(pixel, 0u);
    }
}

TEST_P(FaderTest, CrossFadeShowsEveryStepOnePerRefresh) {
    Paint(*screen->Front, 7);
    Paint(*screen->Back, 13);
    const auto older = PixelsOf(*screen->Front);
    const auto newer = PixelsOf(*screen->Back);
    const std::uint64_t startBlank = host.Blank();
    const std::uint64_t startCount = host.PictureCount();
    fader->CrossFade(screen->Front, screen->Back);
    // About half a second: one step per refresh at 60 Hz.
    EXPECT_GE(host.Blank() - startBlank, 31u);
    EXPECT_LE(host.Blank() - startBlank, 33u);
    const auto shown = ShownSince(startCount);
    ASSERT_GE(shown.size(), 31u);
    EXPECT_EQ(PixelsOf(*shown.front()), older);
    EXPECT_EQ(PixelsOf(*screen->Front), newer);
    // Each shown step is a mix: channel by channel between the two pictures' values.
    const auto channels = Channels();
    for (const auto* picture : shown) {
        const auto pixels = PixelsOf(*picture);
        for (std::size_t i = 0; i < pixels.size(); i += 997) {
            for (const ChannelField& c : channels) {
                const std::uint32_t low =
                    std::min((older[i] >> c.shift) & c.mask, (newer[i] >> c.shift) & c.mask);
                const std::uint32_t high =
                    std::max((older[i] >> c.shift) & c.mask, (newer[i] >> c.shift) & c.mask);
                const std::uint32_t value = (pixels[i] >> c.shift) & c.mask;
                ASSERT_GE(value + 1, low);
                ASSERT_LE(value, high);
            }
        }
    }
}

TEST_P(FaderTest, EqualPicturesStayAtMostOneStepDarker) {
    Paint(*screen->Front, 5);
    screen->Back->SetSrcRect(0, 0, 480, 640);
    screen->Front->SetSrcRect(0, 0, 480, 640);
    ASSERT_EQ(screen->Front->BlitOpaque(0, 0, screen->Back), DD_OK);
    const auto picture = PixelsOf(*screen->Front);
    const std::uint64_t startCount = host.PictureCount();
    fader->CrossFade(screen->Front, screen->Back);
    const auto channels = Channels();
    for (const auto* shown : ShownSince(startCount)) {
        const auto pixels = PixelsOf(*shown);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            for (const ChannelField& c : channels) {
                const std::uint32_t was = (picture[i] >> c.shift) & c.mask;
                const std::uint32_t is = (pixels[i] >> c.shift) & c.mask;
                ASSERT_TRUE(is == was || is + 1 == was) << i << ": " << was << " -> " << is;
            }
        }
    }
    EXPECT_EQ(PixelsOf(*screen->Front), picture);
}

TEST_P(FaderTest, FadeOutEndsAllBlackThroughDarkeningSteps) {
    Paint(*screen->Front, 3);
    const std::uint64_t startCount = host.PictureCount();
    fader->FadeOut();
    for (const std::uint32_t pixel : PixelsOf(*screen->Front)) ASSERT_EQ(pixel, 0u);
    const auto shown = ShownSince(startCount);
    ASSERT_GE(shown.size(), 29u);
    // Brightness only falls from one step to the next.
    for (std::size_t step = 1; step < shown.size(); ++step) {
        for (int x = 0; x < 640; x += 13) {
            ASSERT_LE(shown[step]->PixelAt(x, 240) & 0x1F, shown[step - 1]->PixelAt(x, 240) & 0x1F);
        }
    }
}

TEST_P(FaderTest, FadeOutRectDarkensItsInclusiveRectangleOnly) {
    Paint(*screen->Front, 11);
    const auto before = PixelsOf(*screen->Front);
    fader->FadeOutRect(RECT{100, 50, 199, 149});
    const auto after = PixelsOf(*screen->Front);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const bool inside = x >= 100 && x <= 199 && y >= 50 && y <= 149;
            ASSERT_EQ(after[y * 640 + x], inside ? 0u : before[y * 640 + x]) << x << "," << y;
        }
    }
    // A rectangle wholly off the screen changes nothing.
    fader->FadeOutRect(RECT{700, 0, 800, 100});
    EXPECT_EQ(PixelsOf(*screen->Front), after);
}

TEST_P(FaderTest, AFadeThatCannotLockEndsOnTheNewPicture) {
    Paint(*screen->Back, 9);
    const auto newer = PixelsOf(*screen->Back);
    host.RefuseLocks(1, DDERR_INVALIDPARAMS);
    fader->CrossFade(screen->Front, screen->Back);
    EXPECT_EQ(PixelsOf(*screen->Front), newer);
}

INSTANTIATE_TEST_SUITE_P(Depths, FaderTest, ::testing::Values(15, 16));

TEST(FaderWithoutScreen, DoesNothing) {
    ScreenFader fader(nullptr);
    EXPECT_EQ(fader.Brightness(31, 0xFFFF), 0);
    fader.FadeOut();
    fader.CrossFade(nullptr, nullptr);
}

TEST(FaderInTheGame, EscapeFadesToBlackBeforeTheEnd) {
    FakeHost host;
    SetHost(&host);
    host.SetPicturesKept(64);
    host.AtBlank(20, [](FakeHost& h) { h.SetKey(0x01, true); });
    host.SetBlankLimit(200);
    EXPECT_EQ(WinMain(nullptr, nullptr, "", SW_SHOWNORMAL), 0);
    EXPECT_EQ(Fader, nullptr);
    // Twenty frames, then the fade's steps, the last one black.
    EXPECT_GE(host.PictureCount(), 20u + 30u);
    const auto& last = host.Pictures().back();
    for (int y = 0; y < last.height; y += 7) {
        for (int x = 0; x < last.width; x += 7) ASSERT_EQ(last.PixelAt(x, y), 0u);
    }
    // The intro's title was still there when the fade began.
    const auto& begun = host.Pictures()[host.Pictures().size() - 31];
    bool lit = false;
    for (int x = 8; x < 640 && !lit; ++x) lit = begun.PixelAt(x, 240) != 0;
    EXPECT_TRUE(lit);
}

}  // namespace
