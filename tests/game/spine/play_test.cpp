// SPDX-License-Identifier: MIT
// The game played from the intro through the fake host: stage starts with their instruction
// screen, particles, enemies, the death sequence, Game Over and a new game, Escape, and what a
// pause costs. Each test plays a real sequence through WinMain.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <tuple>

#include "game/player/player.h"
#include "game/scores/score_table.h"
#include "game_session.h"

using namespace platform;

namespace {

using namespace cdx;
using namespace zelto;

// On the fake host's default time of day the click at blank 5 and Space at blank 60 start the
// first stage; play begins a few blanks after Space.
constexpr std::uint64_t kClick = 5;
constexpr std::uint64_t kSpace = 60;
// A fade runs one step per blank.
constexpr std::uint64_t kFadeBlanks = 32;
// White in the 5-6-5 pictures.
constexpr std::uint32_t kWhitePixel = 0xFFFF;
constexpr std::uint32_t kRedPixel = 0xF800;
// The Game Over screen's green (red 25, green 255, blue 25) in 5-6-5.
constexpr std::uint32_t kGreenPixel = (25 >> 3) << 11 | (255 >> 2) << 5 | (25 >> 3);

bool HasPixel(const FakeHost::Picture& picture, int left, int top, int right, int bottom,
              std::uint32_t value) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (picture.PixelAt(x, y) == value) return true;
        }
    }
    return false;
}

// XDG_DATA_HOME names a scratch folder for as long as this lives, its table holding the text.
class ScratchDataHome {
public:
    explicit ScratchDataHome(const std::string& table) {
        char pattern[] = "/tmp/zelto-data-home-XXXXXX";
        if (mkdtemp(pattern) != nullptr) folder_ = pattern;
        std::filesystem::create_directories(folder_ / "zelto");
        std::ofstream(folder_ / "zelto" / "scores") << table;
        const char* old = std::getenv("XDG_DATA_HOME");
        if (old != nullptr) old_ = old;
        setenv("XDG_DATA_HOME", folder_.c_str(), 1);
    }
    ~ScratchDataHome() {
        if (old_) {
            setenv("XDG_DATA_HOME", old_->c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
        std::filesystem::remove_all(folder_);
    }
    ScratchDataHome(const ScratchDataHome&) = delete;
    ScratchDataHome& operator=(const ScratchDataHome&) = delete;
    std::string Table() const {
        std::ifstream in(folder_ / "zelto" / "scores");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path folder_;
    std::optional<std::string> old_;
};

// The band of the Game Over screen's final score line: which pixels are white.
constexpr RECT kScoreLineBand{150, 355, 340, 385};

std::vector<bool> WhiteInk(const FakeHost::Picture& picture) {
    std::vector<bool> ink;
    for (int y = kScoreLineBand.top; y < kScoreLineBand.bottom; ++y) {
        for (int x = kScoreLineBand.left; x < kScoreLineBand.right; ++x) {
            ink.push_back(picture.PixelAt(x, y) == kWhitePixel);
        }
    }
    return ink;
}

// The same band of the final score line alone on black, as the game's plain face (DejaVu Sans,
// bold, the panel values' height 20) writes it; only while the game runs (from within a blank
// hook).
std::vector<bool> ScoreLineInk(const Game& world, const std::string& text) {
    std::vector<bool> ink;
    CDXSurface scratch;
    if (scratch.Create(world.GameScreen.get(), kScreenWidth, kScreenHeight, 1) != 1) return ink;
    scratch.Fill(0);
    scratch.MakeFont("DejaVu Sans", 0, 20, 700);
    if (scratch.GetDC() != nullptr) {
        scratch.SelectFont();
        scratch.DrawString(160, 360, 0xFFFFFF, text.c_str());
        scratch.ReleaseDC();
    }
    if (scratch.Lock() != DD_OK) return ink;
    for (int y = kScoreLineBand.top; y < kScoreLineBand.bottom; ++y) {
        for (int x = kScoreLineBand.left; x < kScoreLineBand.right; ++x) {
            ink.push_back(scratch.GetPixel(x, y) == kWhitePixel);
        }
    }
    scratch.Unlock();
    return ink;
}

class PlayTest : public ::testing::Test {
protected:
    GameSession game;
};

}  // namespace

TEST_F(PlayTest, AClickOnTheIntroStartsAStageThatWaitsForSpace) {
    std::vector<PlayFrame> waiting;
    std::vector<std::uint64_t> waitPictures;
    std::uint64_t picturesAtClick = 0;
    // After the start-up's gong has rung out.
    constexpr std::uint64_t kLateClick = 200;
    constexpr std::uint64_t kLateSpace = kLateClick + 120;
    game.ClickAt(kLateClick);
    game.PressSpaceAt(kLateSpace);
    game.KeepPictureAt(kLateSpace - 40);
    game.KeepPictureAt(kLateSpace - 10);
    game.EveryBlank([&](std::uint64_t blank) {
        if (blank == kLateClick) picturesAtClick = game.host.PictureCount();
        if (blank > kLateClick + 40 && blank < kLateSpace) {
            waiting.push_back(Snapshot(game.world, blank));
            waitPictures.push_back(game.host.PictureCount());
        }
    });
    game.PressEscapeAt(kLateSpace + 40);
    EXPECT_EQ(game.Run(), 0);

    // The gong of start-up, then the gong of the stage start, in the frame that read the click.
    const auto gongs = game.SoundsPlayed("Gong");
    ASSERT_EQ(gongs.size(), 2u);
    EXPECT_EQ(gongs[0], 0u);
    EXPECT_EQ(gongs[1], kLateClick);

    // The instruction screen: one picture per blank, each the same, with the white lines over
    // the start picture, and nothing moves.
    ASSERT_FALSE(waiting.empty());
    for (std::size_t i = 1; i < waiting.size(); ++i) {
        EXPECT_EQ(waitPictures[i], waitPictures[i - 1] + 1) << "blank " << waiting[i].blank;
        EXPECT_EQ(waiting[i].x, kPlayerStartX);
        EXPECT_EQ(waiting[i].y, kPlayerStartY);
        EXPECT_EQ(waiting[i].energon, 200);
        EXPECT_EQ(waiting[i].scrollX, 390);
        EXPECT_EQ(waiting[i].scrollY, 240);
    }
    EXPECT_GT(waitPictures.front(), picturesAtClick + 30) << "the cross-fade comes first";
    const FakeHost::Picture* wait = game.PictureAt(kLateSpace - 10);
    ASSERT_NE(wait, nullptr);
    EXPECT_TRUE(HasPixel(*wait, 10, 190, 490, 215, kWhitePixel));
    EXPECT_TRUE(HasPixel(*wait, 150, 220, 400, 245, kWhitePixel));
    ASSERT_NE(game.PictureAt(kLateSpace - 40), nullptr);
    EXPECT_EQ(wait->pixels, game.PictureAt(kLateSpace - 40)->pixels);
    // The start picture: the map in the view and the panel beside it, without the HUD texts.
    EXPECT_NE(wait->PixelAt(250, 400), 0u);
    EXPECT_NE(wait->PixelAt(560, 20), 0u);
}

TEST_F(PlayTest, ALongWaitOnTheIntroAndTheInstructionScreenCostsNoEnergon) {
    // 100 s on the intro and 30 s on the instruction screen.
    constexpr std::uint64_t kLateClick = 6000;
    constexpr std::uint64_t kLateSpace = kLateClick + 40 + 1800;
    std::vector<PlayFrame> play;
    game.ClickAt(kLateClick);
    game.PressSpaceAt(kLateSpace);
    game.AtStageStart([&](int) { game.ClearEnemies(); });
    game.EveryBlank([&](std::uint64_t blank) {
        if (game.stagesStarted == 1) play.push_back(Snapshot(game.world, blank));
    });
    game.host.AtBlank(kLateSpace + 100, [](FakeHost& h) { h.SetKey(kScanEscape, true); });
    EXPECT_EQ(game.Run(), 0);
    ASSERT_GT(play.size(), 60u);
    // The drain begins with play: one rad per half second, none for the time before.
    EXPECT_EQ(play[2].energon, 200);
    EXPECT_EQ(play[25].energon, 200);
    EXPECT_EQ(play[45].energon, 199);
    EXPECT_EQ(play[75].energon, 198);
    EXPECT_EQ(play[75].lives, 3);
}

TEST_F(PlayTest, AnotherApplicationInFrontStopsFramesAndCostsNoEnergon) {
    std::vector<PlayFrame> play;
    std::uint64_t lostAt = 0;
    std::uint64_t picturesBehind = 0;
    std::uint64_t picturesWhenBack = 0;
    std::vector<FakeHost::Picture> lastTwo;
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    game.AtStageStart([&](int) { game.ClearEnemies(); });
    game.EveryBlank([&](std::uint64_t blank) {
        if (game.stagesStarted != 1) return;
        play.push_back(Snapshot(game.world, blank));
        if (play.size() == 40) {
            lostAt = blank;
            game.host.QueueEvent(HostEvent::Kind::FocusLost);
        }
        if (lostAt != 0 && blank == lostAt + 5) {
            picturesBehind = game.host.PictureCount();
            const auto& pictures = game.host.Pictures();
            lastTwo.assign(pictures.end() - 2, pictures.end());
        }
        // Twenty seconds behind another application.
        if (lostAt != 0 && blank == lostAt + 1200) {
            picturesWhenBack = game.host.PictureCount();
            game.host.QueueEvent(HostEvent::Kind::FocusGained);
        }
    });
    game.PressEscapeAt(kSpace + 1400);
    EXPECT_EQ(game.Run(), 0);
    ASSERT_NE(picturesWhenBack, 0u);
    EXPECT_EQ(picturesWhenBack, picturesBehind) << "no frame while in the back";
    // At once, the last picture of play shows "Paused" written over it, in the middle of the
    // map view: the pixels that turned white are the label's.
    ASSERT_EQ(lastTwo.size(), 2u);
    EXPECT_LE(lastTwo[1].blank, lostAt + 2);
    int left = 640, right = -1, top = 480, bottom = -1;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (lastTwo[1].PixelAt(x, y) != kWhitePixel || lastTwo[0].PixelAt(x, y) == kWhitePixel)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    ASSERT_GT(right - left, 60) << "the label";
    EXPECT_NEAR(left + right, kMapViewWidth, 6) << left << ".." << right;
    EXPECT_NEAR(top + bottom, kMapViewHeight, 24) << top << ".." << bottom;
    const auto before = std::find_if(play.begin(), play.end(),
                                     [&](const PlayFrame& f) { return f.blank == lostAt; });
    const auto after = std::find_if(play.begin(), play.end(),
                                    [&](const PlayFrame& f) { return f.blank == lostAt + 1210; });
    ASSERT_NE(before, play.end());
    ASSERT_NE(after, play.end());
    EXPECT_GE(after->energon, before->energon - 1);
    EXPECT_EQ(after->lives, 3);
    // Play went on after the return: the pictures show the map again.
    EXPECT_GT(game.host.PictureCount(), picturesWhenBack + 100);
}

TEST_F(PlayTest, TheSensitivityScalesTheMotionTheGameReads) {
    std::vector<PlayFrame> play;
    game.world.Options.mouseSensitivity = 2.5f;
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    game.AtStageStart([&](int) { game.ClearEnemies(); });
    game.EveryBlank([&](std::uint64_t blank) {
        if (game.stagesStarted != 1) return;
        play.push_back(Snapshot(game.world, blank));
        if (play.size() == 10) game.host.MoveMouse(2, -1);
    });
    game.PressEscapeAt(kSpace + 40);
    const int exitCode = game.Run();
    game.world.Options = GameOptions{};
    EXPECT_EQ(exitCode, 0);
    ASSERT_GT(play.size(), 20u);
    // 2 x 2.5 and -1 x 2.5, the fraction cut towards zero as the input does.
    EXPECT_EQ(play[15].x - play[14].x, 5);
    EXPECT_EQ(play[15].y - play[14].y, -2);
}

TEST_F(PlayTest, PHoldsTheWorldAndItsTimersUntilPressedAgain) {
    std::vector<PlayFrame> play;
    std::vector<std::int32_t> enemyXs;
    std::uint64_t pausedBlank = 0;
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    game.AtStageStart([&](int) { game.ClearEnemies(); });
    game.EveryBlank([&](std::uint64_t blank) {
        if (game.stagesStarted != 1) return;
        play.push_back(Snapshot(game.world, blank));
        if (play.size() == 10) game.host.MoveMouse(1, 1);
        if (play.size() == 40) {
            pausedBlank = blank;
            game.host.SetKey(kScanP, true);
        }
        if (play.size() == 46) game.host.SetKey(kScanP, false);
        // Motion while paused sets no course.
        if (play.size() == 100) game.host.MoveMouse(50, -30);
        if (play.size() == 200) game.KeepPictureAt(blank + 1);
        if (play.size() > 50 && play.size() < 340) {
            enemyXs.push_back(game.world.Enemies[12]->WorldX + game.world.Enemies[22]->WorldX +
                              game.world.Enemies[32]->WorldX);
        }
        if (play.size() == 340) game.host.SetKey(kScanPause, true);
        if (play.size() == 346) game.host.SetKey(kScanPause, false);
    });
    game.PressEscapeAt(kSpace + 520);
    EXPECT_EQ(game.Run(), 0);
    ASSERT_GT(play.size(), 400u);
    // Held from the frame that read P: nothing moves, no Energon drains, no toggle runs.
    for (std::size_t i = 42; i < 340; ++i) {
        EXPECT_EQ(play[i].x, play[41].x) << "frame " << i;
        EXPECT_EQ(play[i].energon, play[41].energon) << "frame " << i;
    }
    EXPECT_TRUE(std::all_of(enemyXs.begin(), enemyXs.end(),
                            [&](std::int32_t x) { return x == enemyXs.front(); }));
    const FakeHost::Picture* paused = game.PictureAt(pausedBlank + 160 + 1);
    ASSERT_NE(paused, nullptr);
    EXPECT_TRUE(HasPixel(*paused, 190, 210, 330, 250, kWhitePixel)) << "the label";
    EXPECT_NE(paused->PixelAt(560, 20), 0u) << "over the last picture of play";
    // The Pause key let it go on, on the same course; the drain counts from then.
    const auto resumed = std::find_if(play.begin() + 342, play.end(),
                                      [&](const PlayFrame& f) { return f.x != play[341].x; });
    ASSERT_NE(resumed, play.end());
    EXPECT_LE(resumed - play.begin(), 343);
    EXPECT_EQ(resumed->x - (resumed - 1)->x, 1);
    EXPECT_EQ(resumed->y - (resumed - 1)->y, 1);
    EXPECT_EQ((resumed + 25)->energon, play[41].energon);
}

TEST_F(PlayTest, MShowsTheSoundsStateForASecondOverPlayAndOverThePausedPictureAndTakesItAway) {
    std::uint64_t playStart = 0;
    std::uint64_t pausedBeforeM = 0;
    std::uint64_t pausedWithLabel = 0;
    std::uint64_t pausedAfterLabel = 0;
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    game.AtStageStart([&](int) { game.ClearEnemies(); });
    const auto press = [this](std::uint64_t blank, int scanCode) {
        game.host.AtBlank(blank, [scanCode](FakeHost& h) { h.SetKey(scanCode, true); });
        game.host.AtBlank(blank + 6, [scanCode](FakeHost& h) { h.SetKey(scanCode, false); });
    };
    game.EveryBlank([&](std::uint64_t blank) {
        if (game.stagesStarted != 1 || playStart != 0) return;
        playStart = blank;
        game.host.KeepText(true);
        // M in play, P a few seconds later, and M again while paused.
        press(blank + 10, kScanM);
        press(blank + 100, kScanP);
        pausedBeforeM = blank + 120;
        press(blank + 130, kScanM);
        pausedWithLabel = blank + 150;
        pausedAfterLabel = blank + 230;
        for (const std::uint64_t b : {pausedBeforeM, pausedWithLabel, pausedAfterLabel}) {
            game.KeepPictureAt(b);
        }
    });
    game.PressEscapeAt(kSpace + 300);
    EXPECT_EQ(game.Run(), 0);
    std::vector<FakeHost::TextRecord> off;
    std::vector<FakeHost::TextRecord> on;
    for (const auto& record : game.host.KeptText()) {
        if (record.colour != 0xFFFFFF) continue;  // the labels' shadows
        if (record.text == "Sound off") off.push_back(record);
        if (record.text == "Sound on") on.push_back(record);
    }
    // A second's frames of play show "Sound off" in the map view, under where "Paused" stands.
    ASSERT_EQ(off.size(), 60u);
    for (const auto& record : off) {
        EXPECT_FALSE(record.onPrimary);
        EXPECT_EQ(record.y, 270);
        EXPECT_EQ(record.x, off[0].x);
    }
    EXPECT_LT(off[0].x, kMapViewWidth / 2);
    EXPECT_GT(off.back().blank - off[0].blank, 55u);
    // While paused, "Sound on" is written over the held picture, at the same place, as long,
    // and then taken away: the held picture is as it was before M.
    ASSERT_EQ(on.size(), 60u);
    EXPECT_TRUE(on[0].onPrimary);
    EXPECT_EQ(on[0].y, 270);
    const FakeHost::Picture* before = game.PictureAt(pausedBeforeM);
    const FakeHost::Picture* with = game.PictureAt(pausedWithLabel);
    const FakeHost::Picture* after = game.PictureAt(pausedAfterLabel);
    ASSERT_TRUE(before && with && after);
    EXPECT_TRUE(HasPixel(*before, 190, 225, 310, 255, kWhitePixel)) << "Paused";
    EXPECT_NE(with->pixels, before->pixels);
    EXPECT_TRUE(HasPixel(*with, 170, 275, 330, 305, kWhitePixel)) << "Sound on";
    EXPECT_EQ(after->pixels, before->pixels);
    EXPECT_FALSE(game.world.Options.muted);
}

TEST_F(PlayTest, ThePointerIsFreeWhereNothingSteersAndHeldInPlay) {
    std::vector<bool> free;
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    game.AtStageStart([&](int) { game.ClearEnemies(); });
    for (const std::uint64_t blank : {std::uint64_t{3}, kSpace - 5, kSpace + 30, kSpace + 60}) {
        game.host.AtBlank(blank, [&free](FakeHost& h) { free.push_back(h.PointerFree()); });
    }
    game.host.AtBlank(kSpace + 40, [](FakeHost& h) { h.SetKey(kScanP, true); });
    game.PressEscapeAt(kSpace + 80);
    EXPECT_EQ(game.Run(), 0);
    // The intro, the instruction screen, play, paused play.
    EXPECT_EQ(free, (std::vector<bool>{true, true, false, true}));
}

TEST_F(PlayTest, LeavingTheFrontInPlayPausesUntilAClick) {
    std::vector<PlayFrame> play;
    std::uint64_t backBlank = 0;
    std::uint64_t picturesBack = 0;
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    game.AtStageStart([&](int) { game.ClearEnemies(); });
    game.EveryBlank([&](std::uint64_t blank) {
        if (game.stagesStarted != 1) return;
        play.push_back(Snapshot(game.world, blank));
        if (play.size() == 10) game.host.MoveMouse(1, 1);
        if (play.size() == 40) game.host.QueueEvent(HostEvent::Kind::FocusLost);
        if (play.size() == 41) {
            backBlank = blank + 100;
            game.host.AtBlank(backBlank,
                              [](FakeHost& h) { h.QueueEvent(HostEvent::Kind::FocusGained); });
            game.host.AtBlank(backBlank + 120, [](FakeHost& h) { h.SetMouseButton(0, true); });
            game.host.AtBlank(backBlank + 126, [](FakeHost& h) { h.SetMouseButton(0, false); });
        }
        if (backBlank != 0 && blank == backBlank + 60) {
            picturesBack = game.host.PictureCount();
            game.KeepPictureAt(blank + 1);
        }
    });
    game.PressEscapeAt(kSpace + 400);
    EXPECT_EQ(game.Run(), 0);
    ASSERT_NE(picturesBack, 0u);
    const auto at = [&](std::uint64_t blank) {
        return *std::find_if(play.begin(), play.end(),
                             [&](const PlayFrame& f) { return f.blank >= blank; });
    };
    // Back in front, the game waits, paused, until the click.
    EXPECT_EQ(at(backBlank + 110).x, at(backBlank + 10).x);
    EXPECT_EQ(at(backBlank + 110).energon, at(backBlank + 10).energon);
    const FakeHost::Picture* paused = game.PictureAt(backBlank + 61);
    ASSERT_NE(paused, nullptr);
    EXPECT_TRUE(HasPixel(*paused, 190, 210, 330, 250, kWhitePixel)) << "the label";
    EXPECT_GT(at(backBlank + 140).x, at(backBlank + 110).x) << "the click let play go on";
}

TEST_F(PlayTest, AStageStartsAtRestWhateverTheMouseDidBeforeAndSteersFromThen) {
    std::vector<PlayFrame> play;
    // Motion on the intro and on the instruction screen is no course.
    game.host.AtBlank(3, [](FakeHost& h) { h.MoveMouse(300, 200); });
    game.host.AtBlank(kSpace - 10, [](FakeHost& h) { h.MoveMouse(-40, 30); });
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    game.AtStageStart([&](int) { game.ClearEnemies(); });
    game.EveryBlank([&](std::uint64_t blank) {
        if (game.stagesStarted != 1) return;
        play.push_back(Snapshot(game.world, blank));
        if (play.size() == 30) game.host.MoveMouse(2, 1);
    });
    game.PressEscapeAt(kSpace + 80);
    EXPECT_EQ(game.Run(), 0);
    ASSERT_GT(play.size(), 40u);
    for (std::size_t i = 0; i < 30; ++i) {
        EXPECT_EQ(play[i].x, kPlayerStartX) << "frame " << i;
        EXPECT_EQ(play[i].y, kPlayerStartY) << "frame " << i;
    }
    EXPECT_TRUE(game.SoundsPlayed("Grunt").empty());
    EXPECT_EQ(play[35].x - play[34].x, 2);
    EXPECT_EQ(play[35].y - play[34].y, 1);
}

TEST_F(PlayTest, APickedParticleGivesTenRadsAndThreePointsShownInThatFramesHud) {
    std::vector<PlayFrame> play;
    std::vector<std::uint32_t> expectedScore;
    std::vector<std::uint32_t> expectedLevel;
    std::uint64_t pickBlank = 0;
    std::int32_t particleActiveAfterPick = 1;
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    // The particle lies 40 pixels right of the player, on its course.
    game.AtStageStart([&](int) {
        game.ClearEnemies();
        game.PlaceParticle(game.world.GameMap->ScrollX + kPlayerStartX + 40,
                           game.world.GameMap->ScrollY + kPlayerStartY + 4);
    });
    game.EveryBlank([&](std::uint64_t blank) {
        if (game.stagesStarted != 1) return;
        play.push_back(Snapshot(game.world, blank));
        if (play.size() == 2) game.host.MoveMouse(2, 1);
        if (pickBlank == 0 && game.world.Status->Score > 0) {
            pickBlank = blank;
            game.KeepPictureAt(blank);
            particleActiveAfterPick = game.world.Particles[0]->Active;
            expectedScore = game.ExpectedHudBand(GameSession::kScoreRow, 0x191919, "3  ");
            char level[32];
            std::snprintf(level, sizeof(level), "%i rads ", game.world.EnergonLevel);
            expectedLevel = game.ExpectedHudBand(GameSession::kLevelRow, 0x19191E, level);
        }
    });
    game.PressEscapeAt(kSpace + 80);
    EXPECT_EQ(game.Run(), 0);
    ASSERT_NE(pickBlank, 0u);
    const auto pick = std::find_if(play.begin(), play.end(),
                                   [&](const PlayFrame& f) { return f.blank == pickBlank; });
    ASSERT_NE(pick, play.begin());
    EXPECT_EQ(pick->energon - (pick - 1)->energon, 10);
    EXPECT_EQ(pick->score, 3);
    EXPECT_EQ(particleActiveAfterPick, 0);
    const auto picks = game.SoundsPlayed("Pick");
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0], pickBlank - 1);
    const FakeHost::Picture* shown = game.PictureAt(pickBlank);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(GameSession::HudBand(*shown, GameSession::kScoreRow), expectedScore);
    EXPECT_EQ(GameSession::HudBand(*shown, GameSession::kLevelRow), expectedLevel);
}

TEST_F(PlayTest, TheHudWritesItsLabelsAndValuesAsTheseStringsTrailingBlanksIncluded) {
    // The x, y, colour and text of each string the back buffer was given, in order.
    using Line = std::tuple<int, int, std::uint32_t, std::string>;
    const auto panel = [](const char* level, const char* lives) {
        return std::vector<Line>{
            {530, 50, 0x191919, "Energon Level"},  {530, 80, 0x19191E, level},
            {530, 120, 0x191919, "Critical Mass"}, {530, 150, 0x191919, "500  "},
            {530, 190, 0x191919, "Lives"},         {530, 220, 0x191919, lives},
            {530, 260, 0x191919, "Score"},         {530, 290, 0x191919, "1234  "},
        };
    };
    bool levelSet = false;
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    game.AtStageStart([&](int stage) {
        game.ClearEnemies();
        if (stage != 1) return;
        game.world.Status->Score = 1234;
        game.host.KeepText(true);
    });
    // After the first play frame's panel the level is below 0: the next frame takes a life and
    // still shows the level.
    game.EveryBlank([&](std::uint64_t) {
        if (!levelSet && game.host.KeptText().size() >= 8) {
            game.world.EnergonLevel = -7;
            levelSet = true;
        }
    });
    // The lost life's death sequence leads to an instruction screen, which a close request ends.
    game.CloseAt(kSpace + 60);
    EXPECT_EQ(game.Run(), 0);
    std::vector<Line> written;
    for (const auto& r : game.host.KeptText()) {
        if (!r.onPrimary) written.emplace_back(r.x, r.y, r.colour, r.text);
    }
    ASSERT_GE(written.size(), 16u);
    EXPECT_EQ(std::vector<Line>(written.begin(), written.begin() + 8), panel("200 rads ", "3  "));
    EXPECT_EQ(std::vector<Line>(written.begin() + 8, written.begin() + 16),
              panel("-7 rads ", "2  "));
}

TEST_F(PlayTest, AnEnemyTouchCostsALifeAndPlaysTheDeathSequenceBeforeTheNextStage) {
    std::vector<PlayFrame> frames;
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    game.AtStageStart([&](int stage) {
        game.ClearEnemies();
        if (stage == 1) {
            game.world.Enemies[5]->WorldX = game.world.GameMap->ScrollX + kPlayerStartX + 20;
            game.world.Enemies[5]->WorldY = game.world.GameMap->ScrollY + kPlayerStartY - 10;
        }
    });
    game.EveryBlank([&](std::uint64_t blank) {
        if (game.stagesStarted < 1) return;
        frames.push_back(Snapshot(game.world, blank));
        game.KeepPictureAt(blank);
    });
    game.PressSpaceAt(kSpace + 120);
    game.PressEscapeAt(kSpace + 200);
    EXPECT_EQ(game.Run(), 0);
    // The first frame of play touches the enemy: a life and the explosion.
    const auto hit = std::find_if(frames.begin(), frames.end(),
                                  [](const PlayFrame& f) { return f.state == Dying; });
    ASSERT_NE(hit, frames.end());
    EXPECT_LE(hit - frames.begin(), 3);
    EXPECT_EQ(hit->lives, 2);
    ASSERT_EQ(game.SoundsPlayed("Explode").size(), 1u);
    // The alive frame stays until the animation's next step; then the death sequence goes on
    // from where the alive animation stood (frame 2, 3 or 4) to frame 10, three pictures each,
    // on black; its last step is the frame beyond the sheet, which draws nothing, and the next
    // stage starts from it.
    std::vector<std::int32_t> shown;
    std::vector<int> counts;
    auto f = hit + 1;
    for (; f != frames.end() && f->state == Dying; ++f) {
        if (shown.empty() || shown.back() != f->frame) {
            shown.push_back(f->frame);
            counts.push_back(0);
        }
        ++counts.back();
    }
    ASSERT_GE(shown.size(), 8u);
    ASSERT_NE(f, frames.end());
    EXPECT_EQ(f->frame, 60);
    EXPECT_LE(shown[0], 1) << "an alive frame";
    EXPECT_GE(shown[1], 2);
    EXPECT_LE(shown[1], 4);
    for (std::size_t i = 1; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i], shown[1] + static_cast<std::int32_t>(i - 1));
        EXPECT_EQ(counts[i], 3) << "frame " << shown[i];
    }
    EXPECT_EQ(shown.back(), 10);
    const FakeHost::Picture* dying = game.PictureAt((hit + 6)->blank);
    ASSERT_NE(dying, nullptr);
    EXPECT_EQ(dying->PixelAt(600, 300), 0u) << "no panel while dying";
    EXPECT_EQ(dying->PixelAt(100, 100), 0u) << "no map while dying";
    EXPECT_TRUE(HasPixel(*dying, kPlayerStartX, kPlayerStartY, kPlayerStartX + 32,
                         kPlayerStartY + 32, 0u) &&
                !std::all_of(dying->pixels.begin(), dying->pixels.end(),
                             [](std::uint8_t b) { return b == 0; }))
        << "the player shows on black";
    // Then the next stage, and play on with two lives.
    EXPECT_EQ(game.stagesStarted, 2);
    EXPECT_EQ(frames.back().lives, 2);
    EXPECT_EQ(frames.back().state, Playing);
}

TEST_F(PlayTest, TheLastLifeFadesOutTwiceThenShowsGameOverAtOnceAndAClickStartsANewGame) {
    // The best scores are kept in a scratch folder whose table already holds a better score.
    const ScratchDataHome dataHome("zelto scores 1\n1000 2026-01-01T00:00:00Z\n");
    std::int32_t finalScore = -1;
    std::int32_t shownBest = -1;
    std::vector<PlayFrame> frames;
    std::vector<std::uint32_t> expectedLives;
    std::vector<std::uint32_t> shownLives;
    std::vector<bool> expectedScoreInk;
    std::uint64_t lastLifeBlank = 0;
    std::uint64_t gameOverBlank = 0;
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    game.AtStageStart([&](int stage) {
        game.ClearEnemies();
        if (stage == 1) {
            game.world.Status->Lives = 0;
            game.world.Status->Score = 42;
            game.world.Enemies[20]->WorldX = game.world.GameMap->ScrollX + kPlayerStartX - 20;
            game.world.Enemies[20]->WorldY = game.world.GameMap->ScrollY + kPlayerStartY + 20;
        }
    });
    game.EveryBlank([&](std::uint64_t blank) {
        if (game.stagesStarted == 0) return;
        frames.push_back(Snapshot(game.world, blank));
        // The frame that lost the last life is flipped after its fade-out, in the dying state.
        // The fade's black fill of the front buffer takes its place on the screen, so its
        // heads-up display is read where the flip finds it.
        if (lastLifeBlank == 0 && game.world.Status->Lives < 0 &&
            game.world.Status->State == Dying) {
            lastLifeBlank = blank;
            game.KeepPictureAt(blank);
            shownLives = game.BackBand(GameSession::kLivesRow);
            expectedLives = game.ExpectedHudBand(GameSession::kLivesRow, 0x191919, "-1  ");
        }
        // The end of the death sequence fades out again, then the Game Over screen stands.
        if (gameOverBlank == 0 && game.world.Status->State == GameOver && frames.size() > 1 &&
            frames[frames.size() - 2].state == Dying) {
            gameOverBlank = blank;
            game.KeepPictureAt(blank + kFadeBlanks + 10);
            finalScore = game.world.Status->Score;
            shownBest = game.world.Status->Best;
            game.host.KeepText(true);
        }
        if (gameOverBlank != 0 && blank == gameOverBlank + kFadeBlanks + 20) {
            game.host.KeepText(false);
            expectedScoreInk = ScoreLineInk(game.world, "Score: " + std::to_string(finalScore));
        }
        // A click on the Game Over screen, then Space on the new game's instruction screen.
        if (gameOverBlank != 0 && blank == gameOverBlank + 60) game.ClickAt(blank + 1);
        if (gameOverBlank != 0 && blank == gameOverBlank + 150) game.PressSpaceAt(blank + 1);
    });
    game.host.SetBlankLimit(4000);
    game.PressEscapeAt(kSpace + 700);
    EXPECT_EQ(game.Run(), 0);
    ASSERT_NE(lastLifeBlank, 0u);
    // The frame that lost the last life shows -1 under "Lives", after the fade to black.
    EXPECT_EQ(shownLives, expectedLives);
    const FakeHost::Picture* loss = game.PictureAt(lastLifeBlank);
    ASSERT_NE(loss, nullptr);
    EXPECT_TRUE(std::all_of(loss->pixels.begin(), loss->pixels.end(),
                            [](std::uint8_t b) { return b == 0; }));
    EXPECT_GE(game.SoundsPlayed("Explode").size(), 1u);
    // The Game Over screen follows the death sequence: no stage start, no gong and no
    // instruction screen invite a player who has lost to continue.
    ASSERT_NE(gameOverBlank, 0u);
    const auto gongs = game.SoundsPlayed("Gong");
    EXPECT_EQ(
        std::count_if(gongs.begin(), gongs.end(),
                      [&](std::uint64_t b) { return b > lastLifeBlank && b < gameOverBlank; }),
        0);
    const FakeHost::Picture* over = game.PictureAt(gameOverBlank + kFadeBlanks + 10);
    ASSERT_NE(over, nullptr);
    EXPECT_TRUE(HasPixel(*over, 250, 150, 450, 200, kRedPixel));
    EXPECT_TRUE(HasPixel(*over, 150, 250, 600, 290, kGreenPixel)) << "the green Click line";
    EXPECT_FALSE(HasPixel(*over, 150, 220, 400, 245, kWhitePixel)) << "no Space to Continue";
    // Under them the final score and the best kept, in white, and beside them the kept table:
    // rank, score and day, the game's own entry in yellow.
    EXPECT_EQ(WhiteInk(*over), expectedScoreInk) << "Score, in the plain face at the panel's size";
    EXPECT_TRUE(HasPixel(*over, 150, 390, 340, 415, kWhitePixel)) << "Best";
    EXPECT_GE(finalScore, 42);
    EXPECT_EQ(shownBest, 1000);
    const std::string today = UtcDate(FakeHost::kStartSeconds).substr(0, 10);
    using Line = std::tuple<int, std::uint32_t, std::string>;
    std::vector<Line> written;
    for (const auto& r : game.host.KeptText()) {
        if (r.y >= 350) written.emplace_back(r.y, r.colour, r.text);
        if (written.size() == 8) break;
    }
    const std::string finalText = std::to_string(finalScore);
    EXPECT_EQ(written, (std::vector<Line>{{360, 0xFFFFFF, "Score: " + finalText},
                                          {390, 0xFFFFFF, "Best: 1000"},
                                          {360, 0xC8C8C8, "1."},
                                          {360, 0xC8C8C8, "1000"},
                                          {360, 0xC8C8C8, "2026-01-01"},
                                          {382, 0x30D8FF, "2."},
                                          {382, 0x30D8FF, finalText},
                                          {382, 0x30D8FF, today}}));
    const std::optional<ScoreTable> kept = ScoreTable::Parse(dataHome.Table());
    ASSERT_TRUE(kept);
    ASSERT_EQ(kept->Entries().size(), 2u);
    EXPECT_EQ(kept->Entries()[1].score, finalScore);
    // Dated on the fake host's clock, a minute or so after its start.
    EXPECT_EQ(kept->Entries()[1].date.substr(0, 10),
              UtcDate(FakeHost::kStartSeconds).substr(0, 10));
    // The click started a new game: three lives, stage 1, the score kept.
    const PlayFrame& last = frames.back();
    EXPECT_EQ(last.state, Playing);
    EXPECT_EQ(last.lives, 3);
    EXPECT_EQ(last.stage, 1);
    EXPECT_EQ(last.score, 42);
    EXPECT_EQ(game.stagesStarted, 2);
}
