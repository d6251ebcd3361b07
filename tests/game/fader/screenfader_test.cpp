// SPDX-License-Identifier: MIT
// The screen fader: its brightness tables against a full table per level built the plain way,
// its passes (each kind of step) against a pixel-by-pixel walk over those full tables, the
// cross-fade and the fade-out as the screen shows them (one step per refresh), and the game's
// fade on Escape.

#include "game/fader/screenfader.h"

#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "game/spine/zelto.h"
#include "platform/fake/fake_host.h"
#include "platform/host/processor_features.h"
#include "platform/host/scan_codes.h"

using namespace platform;

namespace {

using namespace cdx;
using namespace zelto;

struct ChannelField {
    std::uint32_t mask;
    int shift;
};

constexpr double kFactors[ScreenFader::kLevels] = {
    0.00, 0.03, 0.06, 0.09, 0.13, 0.17, 0.21, 0.24, 0.27, 0.31, 0.34, 0.37, 0.41, 0.44, 0.47, 0.49,
    0.51, 0.53, 0.56, 0.59, 0.63, 0.66, 0.69, 0.73, 0.76, 0.79, 0.83, 0.87, 0.91, 0.94, 0.97, 1.00};

// The brightness table of one level over all 65,536 pixel values, computed value by value: red
// the top field taken without a mask (so at 5-5-5 it holds bit 15), each channel scaled and
// truncated alone, the three put back together.
std::vector<std::uint16_t> ReferenceTable(int level, int depth) {
    const std::uint32_t redMask = depth == 15 ? 0x7C00 : 0xF800;
    const std::uint32_t greenMask = depth == 15 ? 0x03E0 : 0x07E0;
    const std::uint32_t blueMask = 0x1F;
    const auto redShift = static_cast<std::uint32_t>(std::countr_zero(redMask));
    const std::uint32_t greenShift = 5;
    const double factor = kFactors[level];
    std::vector<std::uint16_t> table(65536);
    for (std::uint32_t value = 0; value < 65536; ++value) {
        const auto green = static_cast<std::uint32_t>(((value & greenMask) >> greenShift) * factor);
        const auto red = static_cast<std::uint32_t>((value >> redShift) * factor);
        const auto blue = static_cast<std::uint32_t>((value & blueMask) * factor);
        table[value] = static_cast<std::uint16_t>((green << greenShift) | (red << redShift) | blue);
    }
    return table;
}

std::vector<std::vector<std::uint16_t>> ReferenceTables(int depth) {
    std::vector<std::vector<std::uint16_t>> tables;
    for (int level = 0; level < ScreenFader::kLevels; ++level) {
        tables.push_back(ReferenceTable(level, depth));
    }
    return tables;
}

// A picture in memory of its own, its rows padded by a few bytes.
struct Pixels {
    Pixels(int width, int height, int padding)
        : pitch(2 * width + padding),
          bytes(static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height)) {}
    FadePicture Picture() { return FadePicture{bytes.data(), pitch}; }
    std::uint16_t At(int x, int y) const {
        std::uint16_t value;
        std::memcpy(&value, &bytes[static_cast<std::size_t>(y * pitch + 2 * x)], sizeof value);
        return value;
    }
    void Set(int x, int y, std::uint16_t value) {
        std::memcpy(&bytes[static_cast<std::size_t>(y * pitch + 2 * x)], &value, sizeof value);
    }

    int pitch;
    std::vector<std::uint8_t> bytes;
};

struct PassShape {
    int width;
    int height;
    int padding;
};

// Odd and even widths around the eight- and sixteen-pixel steps, and one picture large
// enough to hold every pixel value.
constexpr PassShape kPassShapes[] = {{1, 3, 2},  {7, 4, 6},   {8, 2, 0},  {15, 3, 2},
                                     {16, 2, 4}, {17, 5, 10}, {31, 4, 2}, {263, 250, 6}};

// The walks the pass tests try: the tables pixel by pixel, and the fade walks at each processor
// level up to the one in use.
struct PassWalk {
    bool byMultipliers;
    ProcessorLevel level;
};

std::vector<PassWalk> WalksToTry() {
    std::vector<PassWalk> walks{{false, ProcessorLevel::kSse2}};
    for (const ProcessorLevel level :
         {ProcessorLevel::kSse2, ProcessorLevel::kAvx2, ProcessorLevel::kAvx512}) {
        if (level <= ProcessorLevelInUse()) walks.push_back({true, level});
    }
    return walks;
}

// Runs the fader's passes by the walk, until the end of the scope.
class WalkInUse {
public:
    WalkInUse(ScreenFader& fader, const PassWalk& walk) {
        fader.WalkByMultipliers = walk.byMultipliers;
        CapProcessorLevel(walk.level);
    }
    ~WalkInUse() { CapProcessorLevel(std::nullopt); }
    WalkInUse(const WalkInUse&) = delete;
    WalkInUse& operator=(const WalkInUse&) = delete;
};

std::string NameOf(const PassWalk& walk) {
    return walk.byMultipliers ? ProcessorLevelName(walk.level) : "tables";
}

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

TEST_P(FaderTest, ChannelTablesGiveTheFullTableOfEveryLevel) {
    for (int level = 0; level < ScreenFader::kLevels; ++level) {
        const auto reference = ReferenceTable(level, GetParam());
        for (std::uint32_t value = 0; value < 65536; ++value) {
            ASSERT_EQ(fader->Brightness(level, static_cast<std::uint16_t>(value)), reference[value])
                << "level " << level << " value " << value;
        }
    }
    // Both layouts are scaled by the fade walks.
    EXPECT_TRUE(fader->WalkByMultipliers);
}

TEST_P(FaderTest, DarkenStepOfEveryKindMatchesTheFullTables) {
    std::mt19937 random(GetParam());
    const auto references = ReferenceTables(GetParam());
    for (const PassWalk& walk : WalksToTry()) {
        const WalkInUse inUse(*fader, walk);
        for (const PassShape shape : kPassShapes) {
            // The area starts inside the picture, two columns and one row in.
            Pixels source(shape.width + 3, shape.height + 2, shape.padding);
            Pixels work(shape.width + 3, shape.height + 2, shape.padding + 2);
            std::uint32_t next = 0;
            for (int y = 0; y < shape.height + 2; ++y) {
                for (int x = 0; x < shape.width + 3; ++x) {
                    // The large picture runs through every value in order, the small ones at
                    // random.
                    const auto value = shape.width > 256 ? next++ : random();
                    source.Set(x, y, static_cast<std::uint16_t>(value));
                }
            }
            const RECT area{2, 1, 2 + shape.width, 1 + shape.height};
            for (int level = 0; level < ScreenFader::kLevels; ++level) {
                const auto& reference = references[static_cast<std::size_t>(level)];
                std::fill(work.bytes.begin(), work.bytes.end(), std::uint8_t{0xA5});
                fader->DarkenStep(level, source.Picture(), work.Picture(), area);
                for (int y = 0; y < shape.height + 2; ++y) {
                    for (int x = 0; x < shape.width + 3; ++x) {
                        const bool inside =
                            x >= area.left && x < area.right && y >= area.top && y < area.bottom;
                        const std::uint16_t expected =
                            inside ? reference[source.At(x, y)] : std::uint16_t{0xA5A5};
                        ASSERT_EQ(work.At(x, y), expected)
                            << "walk " << NameOf(walk) << " width " << shape.width << " level "
                            << level << " at " << x << "," << y;
                    }
                }
                // The row padding stays untouched.
                for (int y = 0; y < shape.height + 2; ++y) {
                    for (int b = 2 * (shape.width + 3); b < work.pitch; ++b) {
                        ASSERT_EQ(work.bytes[static_cast<std::size_t>(y * work.pitch + b)], 0xA5);
                    }
                }
            }
        }
    }
}

TEST_P(FaderTest, MixStepOfEveryKindMatchesTheFullTables) {
    std::mt19937 random(GetParam() + 100);
    const auto references = ReferenceTables(GetParam());
    for (const PassWalk& walk : WalksToTry()) {
        const WalkInUse inUse(*fader, walk);
        for (const PassShape shape : kPassShapes) {
            Pixels older(shape.width, shape.height, shape.padding);
            Pixels newer(shape.width, shape.height, shape.padding + 4);
            Pixels work(shape.width, shape.height, shape.padding + 2);
            std::uint32_t next = 0;
            for (int y = 0; y < shape.height; ++y) {
                for (int x = 0; x < shape.width; ++x) {
                    // Every value in order against values at random, and white against each.
                    newer.Set(x, y,
                              static_cast<std::uint16_t>(shape.width > 256 ? next++ : random()));
                    older.Set(x, y,
                              static_cast<std::uint16_t>((x + y) % 5 == 0 ? 0xFFFF : random()));
                }
            }
            for (int step = 0; step < ScreenFader::kLevels; ++step) {
                const auto& newTable = references[static_cast<std::size_t>(step)];
                const auto& oldTable =
                    references[static_cast<std::size_t>(ScreenFader::kLevels - 1 - step)];
                std::fill(work.bytes.begin(), work.bytes.end(), std::uint8_t{0xA5});
                fader->MixStep(step, older.Picture(), newer.Picture(), work.Picture(), shape.width,
                               shape.height);
                for (int y = 0; y < shape.height; ++y) {
                    for (int x = 0; x < shape.width; ++x) {
                        const auto expected = static_cast<std::uint16_t>(newTable[newer.At(x, y)] +
                                                                         oldTable[older.At(x, y)]);
                        ASSERT_EQ(work.At(x, y), expected)
                            << "walk " << NameOf(walk) << " width " << shape.width << " step "
                            << step << " at " << x << "," << y;
                    }
                    for (int b = 2 * shape.width; b < work.pitch; ++b) {
                        ASSERT_EQ(work.bytes[static_cast<std::size_t>(y * work.pitch + b)], 0xA5);
                    }
                }
            }
        }
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
    host.AtBlank(20, [](FakeHost& h) { h.SetKey(kScanEscape, true); });
    host.SetBlankLimit(200);
    Game game;
    EXPECT_EQ(WinMain(game, nullptr, nullptr, "", SW_SHOWNORMAL), 0);
    EXPECT_EQ(game.Fader, nullptr);
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
