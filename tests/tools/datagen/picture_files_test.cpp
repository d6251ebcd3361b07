// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "data_files.h"
#include "file_readers.h"
#include "game/spine/appicon.h"

namespace datagen_test {
namespace {

constexpr Rgb kKey{255, 0, 255};
constexpr int kFrame = 32;

Bitmap LoadBitmap(const std::string& name) {
    std::string problem;
    const std::optional<Bitmap> bitmap = Bitmap::Read(ReadFile(GameFile(name)), problem);
    EXPECT_TRUE(bitmap.has_value()) << name << ": " << problem;
    return bitmap.value_or(Bitmap{});
}

// The screen may have 5 bits per channel, where a colour this close to the key becomes it.
bool LooksLikeKey(Rgb c) {
    return c.r >= 248 && c.g < 8 && c.b >= 248;
}

double Brightness(Rgb c) {
    return 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
}

double MeanBrightness(const Bitmap& bitmap, int left, int top, int width, int height) {
    double sum = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) sum += Brightness(bitmap.At(x, y));
    }
    return sum / (width * height);
}

int VisiblePixels(const Bitmap& sheet, int frame) {
    const int perRow = sheet.width / kFrame;
    const int left = (frame % perRow) * kFrame;
    const int top = (frame / perRow) * kFrame;
    int count = 0;
    for (int y = top; y < top + kFrame; ++y) {
        for (int x = left; x < left + kFrame; ++x) count += sheet.At(x, y) == kKey ? 0 : 1;
    }
    return count;
}

int DifferingPixels(const Bitmap& a, int frameA, const Bitmap& b, int frameB) {
    int count = 0;
    for (int y = 0; y < kFrame; ++y) {
        for (int x = 0; x < kFrame; ++x) {
            const Rgb pa = a.At((frameA % 10) * kFrame + x, (frameA / 10) * kFrame + y);
            const Rgb pb = b.At((frameB % 10) * kFrame + x, (frameB / 10) * kFrame + y);
            count += pa == pb ? 0 : 1;
        }
    }
    return count;
}

struct PictureCase {
    const char* name;
    int width;
    int height;
};

class PictureFile : public testing::TestWithParam<PictureCase> {};

TEST_P(PictureFile, HasItsSizeAndAKeyCornerThatNoOtherPixelImitates) {
    const Bitmap bitmap = LoadBitmap(GetParam().name);
    ASSERT_EQ(bitmap.width, GetParam().width);
    ASSERT_EQ(bitmap.height, GetParam().height);
    EXPECT_EQ(bitmap.At(0, 0), kKey);
    for (const Rgb& pixel : bitmap.pixels) {
        if (pixel == kKey) continue;
        ASSERT_FALSE(LooksLikeKey(pixel)) << pixel.r << "," << pixel.g << "," << pixel.b;
    }
}

INSTANTIATE_TEST_SUITE_P(AllPictures, PictureFile,
                         testing::Values(PictureCase{zelto::kTitlePictureFile, 640, 480},
                                         PictureCase{zelto::kHudPictureFile, 146, 476},
                                         PictureCase{zelto::kPlayerSheetFile, 320, 64},
                                         PictureCase{zelto::kSpikeSheetFile, 320, 128},
                                         PictureCase{zelto::kCybudSheetFile, 320, 128},
                                         PictureCase{zelto::kSkullSheetFile, 320, 128},
                                         PictureCase{zelto::kJestoidSheetFile, 320, 128},
                                         PictureCase{zelto::kEnergonSheetFile, 320, 128}),
                         [](const testing::TestParamInfo<PictureCase>& info) {
                             std::string name = info.param.name;
                             return name.substr(0, name.find('.'));
                         });

TEST(SpriteSheets, EveryUsedFrameShowsSomethingAndTheFramesRoundTheEdgesAreClear) {
    for (const char* name : {zelto::kSpikeSheetFile, zelto::kCybudSheetFile, zelto::kSkullSheetFile,
                             zelto::kJestoidSheetFile, zelto::kEnergonSheetFile}) {
        const Bitmap sheet = LoadBitmap(name);
        for (int frame = 0; frame < 40; ++frame) {
            EXPECT_GT(VisiblePixels(sheet, frame), 40) << name << " frame " << frame;
            // The frame's own top-left pixel stays background, so no sprite is cut at its box.
            EXPECT_EQ(sheet.At((frame % 10) * kFrame, (frame / 10) * kFrame), kKey)
                << name << frame;
        }
    }
}

TEST(SpriteSheets, EnemiesAnimateAndDifferFromEachOther) {
    const char* names[] = {zelto::kSpikeSheetFile, zelto::kCybudSheetFile, zelto::kSkullSheetFile,
                           zelto::kJestoidSheetFile};
    std::vector<Bitmap> sheets;
    for (const char* name : names) sheets.push_back(LoadBitmap(name));
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        EXPECT_GT(DifferingPixels(sheets[i], 0, sheets[i], 1), 40) << names[i] << " frames 0 and 1";
        for (std::size_t j = i + 1; j < sheets.size(); ++j) {
            EXPECT_GT(DifferingPixels(sheets[i], 0, sheets[j], 0), 300)
                << names[i] << " vs " << names[j];
        }
    }
}

TEST(SpriteSheets, PlayerHasLifeAndDeathFramesAndNothingAtFrameSixty) {
    const Bitmap sheet = LoadBitmap(zelto::kPlayerSheetFile);
    for (int frame = 0; frame <= 9; ++frame) {
        EXPECT_GT(VisiblePixels(sheet, frame), 20) << "frame " << frame;
    }
    EXPECT_GT(VisiblePixels(sheet, 10), 0);
    EXPECT_GT(DifferingPixels(sheet, 0, sheet, 1), 40);
    // The explosion grows and then fades: its middle frames cover more than its first.
    EXPECT_GT(VisiblePixels(sheet, 6), VisiblePixels(sheet, 2));
    const int frame60Top = (60 / (sheet.width / kFrame)) * kFrame;
    EXPECT_GE(frame60Top, sheet.height);
}

TEST(SpriteSheets, EnergonKindsHaveTheirOwnColours) {
    const Bitmap sheet = LoadBitmap(zelto::kEnergonSheetFile);
    std::set<std::tuple<int, int, int>> hues;
    for (int kind = 0; kind < 10; ++kind) {
        // Average colour of the kind's fullest frame.
        long r = 0, g = 0, b = 0, n = 0;
        const int frame = 4 * kind + 2;
        for (int y = 0; y < kFrame; ++y) {
            for (int x = 0; x < kFrame; ++x) {
                const Rgb c = sheet.At((frame % 10) * kFrame + x, (frame / 10) * kFrame + y);
                if (c == kKey) continue;
                r += c.r, g += c.g, b += c.b, ++n;
            }
        }
        ASSERT_GT(n, 0);
        hues.insert({static_cast<int>(r / n / 24), static_cast<int>(g / n / 24),
                     static_cast<int>(b / n / 24)});
    }
    EXPECT_EQ(hues.size(), 10u);
}

TEST(ScreenPictures, PanelIsLightUnderTheValuesTitleIsDarkUnderTheCredits) {
    const Bitmap panel = LoadBitmap(zelto::kHudPictureFile);
    for (int y : {50, 80, 120, 150, 190, 220, 260, 290}) {
        EXPECT_GT(MeanBrightness(panel, 30, y, 90, 20), 180) << "panel text line at y " << y;
    }
    const Bitmap title = LoadBitmap(zelto::kTitlePictureFile);
    // Screen positions of the credit lines; the picture is drawn 8 pixels to the right.
    const int credits[5][2] = {{320, 150}, {280, 180}, {300, 210}, {160, 250}, {300, 280}};
    for (const auto& line : credits) {
        EXPECT_LT(MeanBrightness(title, line[0] - 8, line[1], 300, 16), 50)
            << "credit at y " << line[1];
    }
}

TEST(ScreenPictures, TitleIsMadeForItsPlaceEightPixelsRightOfTheScreensEdge) {
    const Bitmap title = LoadBitmap(zelto::kTitlePictureFile);
    // The screen never shows the last 8 columns: they hold nothing.
    for (int y = 0; y < 480; ++y) {
        for (int x = 632; x < 640; ++x) {
            ASSERT_EQ(title.At(x, y), (Rgb{0, 0, 0})) << x << "," << y;
        }
    }
    // The first column continues the screen's black strip (its top pixel is the key), and the
    // picture brightens inwards from it.
    EXPECT_LT(MeanBrightness(title, 0, 1, 1, 479), 1);
    EXPECT_LT(MeanBrightness(title, 0, 1, 4, 479), MeanBrightness(title, 24, 1, 4, 479) / 4);
}

TEST(AppIcon, EmbeddedBytesAreA32By32Bitmap) {
    const Bytes icon(kAppIconBmp, kAppIconBmp + kAppIconBmpSize);
    std::string problem;
    const std::optional<Bitmap> bitmap = Bitmap::Read(icon, problem);
    ASSERT_TRUE(bitmap.has_value()) << problem;
    EXPECT_EQ(bitmap->width, 32);
    EXPECT_EQ(bitmap->height, 32);
}

}  // namespace
}  // namespace datagen_test
