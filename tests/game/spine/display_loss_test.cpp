// SPDX-License-Identifier: MIT
// The display taken away at every step of the game's longest holds (the cross-fade into a
// stage, the instruction screen's waiting loop, the fade-outs): the game goes on or ends as it
// would have, and the first picture of play afterwards is the very picture an undisturbed game
// shows, with nothing left of the restored memory's fill.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "game_session.h"

using namespace platform;

namespace {

using namespace cdx;
using namespace zelto;

constexpr std::uint64_t kClick = 5;
constexpr std::uint64_t kSpace = 90;
// Restored memory comes back filled with this byte.
constexpr std::uint32_t kRestoredFill = 0xCDCD;

struct Outcome {
    int exitCode = -1;
    FakeHost::Picture firstPlay;
    std::uint64_t playBlank = 0;
};

// Plays into the first stage; `storm` decides at which blanks the display goes away.
Outcome PlayIntoFirstStage(const std::function<bool(std::uint64_t)>& storm) {
    Outcome outcome;
    GameSession game;
    game.host.SetRowPadding(8);
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    // A play frame steps the player's animation once; nothing else does. The blank at which it
    // is first seen stepped is the flip of the first play frame.
    std::int32_t lastTick = -1;
    game.EveryBlank([&](std::uint64_t blank) {
        if (game.stagesStarted == 0) {
            if (storm(blank)) game.host.LoseDisplay();
            return;
        }
        if (lastTick >= 0 && outcome.playBlank == 0 && game.world.Player->AnimTick != lastTick) {
            outcome.playBlank = blank;
            game.KeepPictureAt(blank);
        }
        lastTick = game.world.Player->AnimTick;
    });
    game.PressEscapeAt(kSpace + 60);
    outcome.exitCode = game.Run();
    if (const auto* picture = game.PictureAt(outcome.playBlank)) outcome.firstPlay = *picture;
    return outcome;
}

bool HasRestoredFill(const FakeHost::Picture& picture) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (picture.PixelAt(x, y) == kRestoredFill) return true;
        }
    }
    return false;
}

}  // namespace

TEST(DisplayLossTest, LossesThroughTheCrossFadeAndTheInstructionScreenLeavePlayIntact) {
    const Outcome calm = PlayIntoFirstStage([](std::uint64_t) { return false; });
    ASSERT_EQ(calm.exitCode, 0);
    ASSERT_FALSE(calm.firstPlay.pixels.empty());
    ASSERT_FALSE(HasRestoredFill(calm.firstPlay));

    // Every blank from the click through the cross-fade and the waiting loop.
    const Outcome storm = PlayIntoFirstStage(
        [](std::uint64_t blank) { return blank > kClick && blank < kSpace - 5; });
    EXPECT_EQ(storm.exitCode, 0);
    ASSERT_FALSE(storm.firstPlay.pixels.empty());
    EXPECT_FALSE(HasRestoredFill(storm.firstPlay));
    EXPECT_EQ(storm.firstPlay.pixels, calm.firstPlay.pixels)
        << "the first play picture differs from an undisturbed game's";
}

TEST(DisplayLossTest, LossesThroughTheFadeOutOnEscapeStillEndTheGameNormally) {
    GameSession game;
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    std::uint64_t escape = 0;
    game.EveryBlank([&](std::uint64_t blank) {
        if (game.stagesStarted == 1 && escape == 0) {
            escape = blank + 20;
            game.PressEscapeAt(escape);
        }
        if (escape != 0 && blank > escape) game.host.LoseDisplay();
    });
    game.host.SetBlankLimit(2000);
    EXPECT_EQ(game.Run(), 0);
    EXPECT_EQ(game.world.GameScreen, nullptr);
}

TEST(DisplayLossTest, LossesThroughTheLastLifesFadeOutsReachTheGameOverScreen) {
    GameSession game;
    game.ClickAt(kClick);
    game.host.AtBlank(kSpace, [](FakeHost& h) { h.SetKey(kScanSpace, true); });
    std::uint64_t gameOver = 0;
    std::vector<std::uint32_t> redPixels;
    game.AtStageStart([&](int stage) {
        game.ClearEnemies();
        if (stage == 1) {
            game.world.Status->Lives = 0;
            game.world.EnergonLevel = -1;
        }
    });
    bool dying = false;
    game.EveryBlank([&](std::uint64_t blank) {
        // From the loss of the last life until the Game Over screen stands.
        if (gameOver == 0 && game.world.Status->Lives < 0) game.host.LoseDisplay();
        dying = dying || game.world.Status->State == Dying;
        if (gameOver == 0 && dying && game.world.Status->State == GameOver) {
            gameOver = blank;
            // After the second fade-out.
            game.KeepPictureAt(blank + 40);
        }
    });
    game.host.SetBlankLimit(3000);
    game.PressEscapeAt(kSpace + 600);
    EXPECT_EQ(game.Run(), 0);
    ASSERT_NE(gameOver, 0u);
    const FakeHost::Picture* over = game.PictureAt(gameOver + 40);
    ASSERT_NE(over, nullptr);
    EXPECT_FALSE(HasRestoredFill(*over));
    bool red = false;
    for (int y = 150; y < 200 && !red; ++y) {
        for (int x = 250; x < 450 && !red; ++x) red = over->PixelAt(x, y) == 0xF800;
    }
    EXPECT_TRUE(red) << "Game Over! in red";
}
