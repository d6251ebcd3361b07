// The game's own pictures through the whole program on the fake host: the title drawn in
// mode 100, the generated sheets with their background keyed out, and missing pictures.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "bitmap_service.h"
#include "test_pictures.h"
#include "zelto.h"

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
        EXPECT_EQ(WinMain(nullptr, nullptr, "", SW_SHOWNORMAL), 0);
        std::filesystem::current_path(previous_);
    }

    static std::uint32_t PictureBits(const Bitmap& bitmap, int x, int y) {
        const std::uint8_t* at = bitmap.PixelAt(x, y);
        return Pixel565(at[2], at[1], at[0]);
    }

    // Runs the game's data without MAIN.BMP, HUD.BMP and SPIKE.BMP, after place(folder) may
    // have put other files of those names there: the game goes on, their sheets have no
    // surface and never draw.
    void ExpectSheetsThatNeverDraw(const std::function<void(const ScratchFolder&)>& place) {
        ScratchFolder folder;
        for (const auto& entry : std::filesystem::directory_iterator(ZELTO_GAME_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name == "MAIN.BMP" || name == "HUD.BMP" || name == "SPIKE.BMP") continue;
            if (entry.is_regular_file())
                std::filesystem::copy_file(entry.path(), folder.Path(name));
        }
        place(folder);
        bool inspected = false;
        Run(folder.Path(""), [&] {
            inspected = true;
            ASSERT_TRUE(TitleSheet && HudSheet && SpikeSheet);
            EXPECT_FALSE(TitleSheet->Surface);
            EXPECT_FALSE(HudSheet->Surface);
            EXPECT_FALSE(SpikeSheet->Surface);
            EXPECT_EQ(TitleSheet->ColorKey, 0xFFFFFFFFu);  // never keyed
            EXPECT_TRUE(CybudSheet->Surface);
            HudSprite->Draw(GameScreen->Back, 0, 0, CDXBlitMode::CopyKeyed);
        });
        EXPECT_TRUE(inspected);
        ASSERT_FALSE(host.Pictures().empty());
        const auto& last = host.Pictures().back();
        EXPECT_EQ(last.PixelAt(320, 240), 0u);
        EXPECT_EQ(last.PixelAt(600, 100), 0u);
    }

    FakeHost host;
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
        ASSERT_TRUE(TitleSheet && TitleSheet->Surface);
        EXPECT_EQ(TitleSheet->ColorKey, key);
        CDXSurface& back = *GameScreen->Back;
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

TEST_F(GameRun, TheGeneratedSheetsDrawWithTheirBackgroundKeyedOut) {
    Run(ZELTO_GAME_DIR, [&] {
        const std::pair<const char*, CDXTile*> sheets[] = {
            {"SPIKE", SpikeSheet.get()},
            {"CYBUD", CybudSheet.get()},
            {"SKULL", SkullSheet.get()},
            {"JESTOID", JestoidSheet.get()},
        };
        constexpr std::uint32_t kMarker = 0xF81F;
        CDXSurface canvas(GameScreen.get(), 64, 64, 1);
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
        ASSERT_TRUE(HudSprite && HudSheet && HudSheet->Surface);
        EXPECT_EQ(HudSprite->PosX, 500);
        EXPECT_EQ(HudSheet->PixelWidth, 146);
        EXPECT_EQ(HudSheet->PixelHeight, 476);
    });
}

TEST_F(GameRun, MissingPicturesLeaveSheetsThatNeverDraw) {
    ExpectSheetsThatNeverDraw([](const ScratchFolder&) {});
}

TEST_F(GameRun, RefusedPicturesBehaveExactlyAsMissingOnes) {
    ExpectSheetsThatNeverDraw([](const ScratchFolder& folder) {
        // Four packed bytes for four million pixels, top-down rows that are not there, and a
        // side beyond the largest display surface.
        folder.Write("MAIN.BMP", MakeBmp({2048, 2048, 8, 1}, {0, 0, 0, 1}));
        folder.Write("HUD.BMP", MakeBmp({300, -300, 24, 0}, std::vector<std::uint8_t>(50, 7)));
        folder.Write("SPIKE.BMP", MakeBmp({16385, 1, 8, 1}, {0, 1}));
    });
}
