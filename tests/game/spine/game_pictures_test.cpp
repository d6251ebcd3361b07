// SPDX-License-Identifier: MIT
// The game's own pictures through the whole program on the fake host: the title drawn in
// mode 100, the generated sheets with their background keyed out, missing and damaged pictures
// reported, and pictures of another size taken as they are.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cdx/error/cdxerror.h"
#include "game/spine/zelto.h"
#include "platform/bitmap/bitmap_service.h"
#include "test_pictures.h"

using namespace platform;
using namespace testpictures;

namespace {

using namespace zelto;

// Runs the program from folder until the given blank, calling inspect at the first blank,
// when the first frame is drawn into the back buffer and not yet shown.
class GameRun : public ::testing::Test {
protected:
    void SetUp() override {
        SetHost(&host);
        previous_ = std::filesystem::current_path();
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

    void Run(const std::filesystem::path& folder, std::function<void()> inspect) {
        std::filesystem::current_path(folder);
        host.AtBlank(1, [&](FakeHost&) { inspect(); });
        host.AtBlank(3, [](FakeHost& h) { h.QueueEvent(HostEvent::Kind::CloseRequested); });
        EXPECT_EQ(WinMain(game, nullptr, nullptr, "", SW_SHOWNORMAL), 0);
        std::filesystem::current_path(previous_);
    }

    static std::uint32_t PictureBits(const Bitmap& bitmap, int x, int y) {
        const std::uint8_t* at = bitmap.PixelAt(x, y);
        return Pixel565(at[2], at[1], at[0]);
    }

    // Copies the game's data into folder without the named files.
    static void CopyDataWithout(const ScratchFolder& folder,
                                const std::vector<std::string>& missing) {
        for (const auto& entry : std::filesystem::directory_iterator(ZELTO_GAME_DIR)) {
            const std::string name = entry.path().filename().string();
            if (std::find(missing.begin(), missing.end(), name) != missing.end()) continue;
            if (entry.is_regular_file())
                std::filesystem::copy_file(entry.path(), folder.Path(name));
        }
    }

    // Runs the game's data without a picture of each of the three ways the game loads them
    // (the spine's sheets and title, the player, the particles), after place(folder) may have
    // put other files of those names there: each is reported in the order of loading, and the
    // program ends with the failure's exit code before any frame.
    void ExpectPicturesReported(const std::function<void(const ScratchFolder&)>& place) {
        ScratchFolder folder;
        CopyDataWithout(folder, {"SPIKE.BMP", "HUD.BMP", "MAIN.BMP", "ZELTO.BMP", "ENERGON.BMP"});
        place(folder);
        host.SetBlankLimit(100);
        std::filesystem::current_path(folder.Path(""));
        EXPECT_EQ(WinMain(game, nullptr, nullptr, "", SW_SHOWNORMAL), kReportedFailureExitCode);
        std::filesystem::current_path(previous_);
        std::vector<std::string> texts;
        for (const auto& box : host.MessageBoxes()) {
            texts.push_back(box.text);
            EXPECT_EQ(box.type, MB_OK | MB_ICONERROR);
        }
        EXPECT_EQ(texts,
                  (std::vector<std::string>{"Cant load File SPIKE.BMP", "Cant load File HUD.BMP",
                                            "Cant load File MAIN.BMP", "Cant load File ZELTO.BMP",
                                            "Cant load File ENERGON.BMP"}));
        EXPECT_EQ(host.Blank(), 0u);
    }

    FakeHost host;
    Game game;
    std::filesystem::path previous_;
};

}  // namespace

TEST_F(GameRun, TheIntroDrawsTheTitlePictureKeyedAtEightPixelsRight) {
    const auto title = LoadBitmapByName(ZELTO_GAME_DIR "/MAIN.BMP");
    ASSERT_TRUE(title);
    ASSERT_EQ(title->width, 640);
    ASSERT_EQ(title->height, 480);
    const std::uint32_t key = PictureBits(*title, 0, 0);
    int mismatches = 0;
    int keyedOut = 0;
    Run(ZELTO_GAME_DIR, [&] {
        ASSERT_TRUE(game.TitleSheet && game.TitleSheet->Surface);
        EXPECT_EQ(game.TitleSheet->ColorKey, key);
        CDXSurface& back = *game.GameScreen->Back;
        ASSERT_EQ(back.Lock(), DD_OK);
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                std::uint32_t expected = 0;
                if (x >= 8) {
                    const std::uint32_t bits = PictureBits(*title, x - 8, y);
                    expected = bits == key ? 0 : bits;
                    keyedOut += bits == key ? 1 : 0;
                }
                mismatches += back.GetPixel(x, y) == expected ? 0 : 1;
            }
        }
        back.Unlock();
    });
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(keyedOut, 0);
    EXPECT_GE(host.PictureCount(), 2u);
}

TEST_F(GameRun, EachCreditLineSitsCentredOnTheTitlesPlate) {
    host.KeepText(true);
    Run(ZELTO_GAME_DIR, [] {});
    // Every intro frame writes the five lines onto the front buffer; the pictures are alike.
    std::vector<FakeHost::TextRecord> credits;
    for (const auto& record : host.KeptText()) {
        if (record.onPrimary && credits.size() < 5) credits.push_back(record);
    }
    ASSERT_EQ(credits.size(), 5u);
    const FakeHost::Picture& intro = host.Pictures().back();
    constexpr std::uint32_t kWhite = 0xFFFF;
    for (const auto& line : credits) {
        // The line's white ink, along the rows of its cell.
        int inkLeft = 640;
        int inkRight = -1;
        for (int y = line.y; y < line.y + 16; ++y) {
            for (int x = 0; x < 640; ++x) {
                if (intro.PixelAt(x, y) != kWhite) continue;
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
            }
        }
        ASSERT_LE(inkLeft, inkRight) << line.text;
        EXPECT_GE(inkLeft, line.x) << line.text;
        // The plate's lit rim, found outwards from the ink's middle along the cell's middle row:
        // the plate inside it is dark blue, its rim a light one.
        const int inkCentre = (inkLeft + inkRight) / 2;
        const int row = line.y + 8;
        const auto isRim = [&](int x) {
            const std::uint32_t pixel = intro.PixelAt(x, row);
            return pixel != kWhite && (pixel & 0x1F) >= 12;
        };
        int plateLeft = inkCentre;
        while (plateLeft > 0 && !isRim(plateLeft)) --plateLeft;
        int plateRight = inkCentre;
        while (plateRight < 639 && !isRim(plateRight)) ++plateRight;
        EXPECT_LT(plateLeft, inkLeft) << line.text;
        EXPECT_GT(plateRight, inkRight) << line.text;
        EXPECT_NEAR(inkLeft + inkRight, plateLeft + plateRight, 6)
            << line.text << ": ink " << inkLeft << ".." << inkRight << ", plate " << plateLeft
            << ".." << plateRight;
    }
}

TEST_F(GameRun, TheGeneratedSheetsDrawWithTheirBackgroundKeyedOut) {
    Run(ZELTO_GAME_DIR, [&] {
        ASSERT_EQ(game.EnemySheets.size(), std::size(kEnemyKinds));
        std::vector<std::pair<const char*, CDXTile*>> sheets;
        for (std::size_t kind = 0; kind < std::size(kEnemyKinds); ++kind) {
            sheets.emplace_back(kEnemyKinds[kind].sheetFile, game.EnemySheets[kind].get());
        }
        constexpr std::uint32_t kMarker = 0xF81F;
        CDXSurface canvas(game.GameScreen.get(), 64, 64, 1);
        ASSERT_TRUE(canvas.Surface);
        for (const auto& [name, sheet] : sheets) {
            ASSERT_TRUE(sheet && sheet->Surface) << name;
            EXPECT_EQ(sheet->PixelWidth % 32, 0) << name;
            EXPECT_GE(sheet->PixelWidth / 32 * (sheet->PixelHeight / 32), 40) << name;
            CDXSprite sprite;
            sprite.Create(sheet);
            sprite.PosX = 16;
            sprite.PosY = 16;
            for (int frame = 0; frame < 40; ++frame) {
                canvas.Fill(kMarker);
                sprite.Frame = frame;
                sprite.Draw(&canvas, 0, 0, CDXBlitMode::CopyKeyed);
                RECT rect;
                ASSERT_TRUE(sheet->FrameRect(frame, rect));
                ASSERT_EQ(sheet->Lock(), DD_OK);
                ASSERT_EQ(canvas.Lock(), DD_OK);
                int background = 0;
                int figure = 0;
                int wrong = 0;
                for (int y = 0; y < 32; ++y) {
                    for (int x = 0; x < 32; ++x) {
                        const std::uint32_t pixel = sheet->GetPixel(rect.left + x, rect.top + y);
                        const std::uint32_t drawn = canvas.GetPixel(16 + x, 16 + y);
                        const bool isKey = pixel == sheet->ColorKey;
                        background += isKey ? 1 : 0;
                        figure += isKey ? 0 : 1;
                        wrong += drawn == (isKey ? kMarker : pixel) ? 0 : 1;
                    }
                }
                EXPECT_EQ(canvas.GetPixel(15, 15), kMarker);
                canvas.Unlock();
                sheet->Unlock();
                EXPECT_EQ(wrong, 0) << name << " frame " << frame;
                EXPECT_GT(background, 0) << name << " frame " << frame;
                EXPECT_GT(figure, 0) << name << " frame " << frame;
            }
        }
        ASSERT_TRUE(game.HudSprite && game.HudSheet && game.HudSheet->Surface);
        EXPECT_EQ(game.HudSprite->PosX, 500);
        EXPECT_EQ(game.HudSheet->PixelWidth, 146);
        EXPECT_EQ(game.HudSheet->PixelHeight, 476);
    });
}

TEST_F(GameRun, MissingPicturesAreReportedAndEndTheRun) {
    ExpectPicturesReported([](const ScratchFolder&) {});
}

TEST_F(GameRun, DamagedPicturesAreReportedExactlyAsMissingOnes) {
    ExpectPicturesReported([](const ScratchFolder& folder) {
        // Four packed bytes for four million pixels, top-down rows that are not there, a side
        // beyond the largest display surface, random bytes, and nothing at all.
        folder.Write("MAIN.BMP", MakeBmp({2048, 2048, 8, 1}, {0, 0, 0, 1}));
        folder.Write("HUD.BMP", MakeBmp({300, -300, 24, 0}, std::vector<std::uint8_t>(50, 7)));
        folder.Write("SPIKE.BMP", MakeBmp({16385, 1, 8, 1}, {0, 1}));
        std::vector<std::uint8_t> noise(4096);
        std::uint32_t state = 12345;
        for (auto& byte : noise) {
            state = state * 1103515245u + 12345u;
            byte = static_cast<std::uint8_t>(state >> 16);
        }
        folder.Write("ZELTO.BMP", noise);
        folder.Write("ENERGON.BMP", {});
    });
}

TEST_F(GameRun, APictureOfAnotherSizeIsTakenAsItIs) {
    ScratchFolder folder;
    CopyDataWithout(folder, {"HUD.BMP", "CYBUD.BMP"});
    // A panel half as wide and a sheet of two frames where forty are asked for.
    folder.Write("HUD.BMP", MakeBmp({73, 100, 24, 0}, std::vector<std::uint8_t>(220 * 100, 9)));
    folder.Write("CYBUD.BMP", MakeBmp({64, 32, 24, 0}, std::vector<std::uint8_t>(192 * 32, 5)));
    Run(folder.Path(""), [&] {
        ASSERT_TRUE(game.HudSheet && game.HudSheet->Surface);
        EXPECT_EQ(game.HudSheet->PixelWidth, 73);
        // The last enemy is a cybud.
        ASSERT_TRUE(game.Enemies[kEnemyCount - 1]);
        const CDXTile* cybuds = game.Enemies[kEnemyCount - 1]->Tile;
        ASSERT_TRUE(cybuds && cybuds->Surface);
        EXPECT_EQ(cybuds->PixelWidth, 64);
    });
    EXPECT_TRUE(host.MessageBoxes().empty());
}
