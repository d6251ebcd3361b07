// SPDX-License-Identifier: MIT
// The player in a running game on the fake host: the mouse's diagonal steering, the view that
// scrolls with it and holds it near the edges of the view, the grunts at the play area's edges,
// and the view and contact test that enemies and particles share.

#include "game/player/player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "game_session.h"

using namespace platform;

namespace {

using namespace cdx;
using namespace zelto;

// On the fake host's default time of day the click at blank 5 and Space at blank 60 start the
// first stage; play begins a few blanks after Space.
constexpr std::uint64_t kClick = GameSession::kFirstClick;
constexpr std::uint64_t kSpace = GameSession::kFirstSpace;

class PlayerTest : public ::testing::Test {
protected:
    // Plays stages without enemies, looking at every play frame.
    void Play(std::uint64_t frames, std::function<void(int frame)> frame) {
        EXPECT_EQ(game.PlayWithoutEnemies(frames, std::move(frame)), 0);
    }

    GameSession game;
};

}  // namespace

TEST_F(PlayerTest, TheMouseSteersDiagonallyAndTheMapScrollsNearTheEdgeOfTheView) {
    std::vector<PlayFrame> play;
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    game.AtStageStart([&](int) { game.ClearEnemies(); });
    game.EveryBlank([&](std::uint64_t blank) {
        if (game.stagesStarted != 1) return;
        play.push_back(Snapshot(game.world, blank));
        if (play.size() > 60) game.KeepPictureAt(blank);
        if (play.size() == 10) game.host.MoveMouse(3, 2);
        // Motion along one axis only keeps the course.
        if (play.size() == 20) game.host.MoveMouse(7, 0);
        if (play.size() == 25) game.host.MoveMouse(0, -5);
    });
    game.PressEscapeAt(kSpace + 200);
    EXPECT_EQ(game.Run(), 0);
    ASSERT_GT(play.size(), 120u);
    // At rest until the mouse moves; then 3 right and 2 down per frame, whatever came after.
    EXPECT_EQ(play[10].x, kPlayerStartX);
    for (std::size_t i = 12; i < 40; ++i) {
        EXPECT_EQ(play[i].x - play[i - 1].x, 3) << "frame " << i;
        EXPECT_EQ(play[i].y - play[i - 1].y, 2) << "frame " << i;
    }
    // Past x 450 the player is held there and the map scrolls by the player's speed.
    const auto held =
        std::find_if(play.begin(), play.end(), [](const PlayFrame& f) { return f.x == 450; });
    ASSERT_NE(held, play.end());
    const auto later = held + 10;
    ASSERT_LT(later, play.end());
    EXPECT_EQ(later->x, 450);
    EXPECT_EQ(later->scrollX - held->scrollX, 30);
    // The pictures show it: the map under the player changes as it scrolls.
    const FakeHost::Picture* first = game.PictureAt(held->blank);
    const FakeHost::Picture* second = game.PictureAt(later->blank);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first->pixels, second->pixels);
}

TEST_F(PlayerTest, RubbingEdgesGruntsAndCostsARadPerEdgeAndFrame) {
    std::vector<PlayFrame> play;
    game.ClickAt(kClick);
    game.PressSpaceAt(kSpace);
    game.AtStageStart([&](int) { game.ClearEnemies(); });
    game.EveryBlank([&](std::uint64_t blank) {
        if (game.stagesStarted != 1) return;
        play.push_back(Snapshot(game.world, blank));
        // Fast down and right: the map scrolls to its end, then the player reaches the corner.
        if (play.size() == 2) game.host.MoveMouse(12, 9);
    });
    game.PressEscapeAt(kSpace + 150);
    EXPECT_EQ(game.Run(), 0);
    const auto corner = std::find_if(play.begin(), play.end(),
                                     [](const PlayFrame& f) { return f.x == 465 && f.y == 444; });
    ASSERT_NE(corner, play.end());
    ASSERT_LT(corner + 20, play.end());
    // Each frame in the corner costs two rads (and one more when the half-second drain falls).
    for (auto f = corner + 1; f != corner + 20; ++f) {
        const int lost = (f - 1)->energon - f->energon;
        EXPECT_TRUE(lost == 2 || lost == 3) << "blank " << f->blank << " lost " << lost;
    }
    // The grunt sounds from the first frame on an edge.
    const auto edge = std::find_if(play.begin(), play.end(),
                                   [](const PlayFrame& f) { return f.x == 465 || f.y == 444; });
    const auto grunts = game.SoundsPlayed("Grunt");
    ASSERT_FALSE(grunts.empty());
    EXPECT_EQ(grunts.front(), edge->blank - 1);
}

TEST_F(PlayerTest, TheViewsBoundsAreInclusiveOnEverySide) {
    struct Probe {
        std::int32_t dx;
        std::int32_t dy;
        std::int32_t expected;
    };
    const Probe probes[] = {
        {-1, 0, OutOfView}, {0, 0, ShownApart},   {478, 0, ShownApart}, {479, 0, OutOfView},
        {0, -1, OutOfView}, {0, 480, ShownApart}, {0, 481, OutOfView},
    };
    std::vector<std::int32_t> results;
    std::int32_t touching = -1;
    std::int32_t apartByOne = -1;
    Play(10, [&](int frame) {
        if (frame != 2) return;
        Actor probe;
        probe.Create(game.world.EnemySheets.front().get());
        for (const Probe& p : probes) {
            probe.WorldX = game.world.GameMap->ScrollX + p.dx;
            probe.WorldY = game.world.GameMap->ScrollY + p.dy;
            results.push_back(ShowAndHit(game.world, probe, game.world.GameMap->ScrollX,
                                         game.world.GameMap->ScrollY, 478, 480));
        }
        // Contact includes the frames' edges: 32 pixels apart still touch, 33 do not.
        probe.WorldX = game.world.GameMap->ScrollX + game.world.Player->PosX + 32;
        probe.WorldY = game.world.GameMap->ScrollY + game.world.Player->PosY - 32;
        touching = ShowAndHit(game.world, probe, game.world.GameMap->ScrollX,
                              game.world.GameMap->ScrollY, 478, 480);
        probe.WorldX += 1;
        apartByOne = ShowAndHit(game.world, probe, game.world.GameMap->ScrollX,
                                game.world.GameMap->ScrollY, 478, 480);
    });
    ASSERT_EQ(results.size(), std::size(probes));
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i], probes[i].expected) << "probe " << i;
    }
    EXPECT_EQ(touching, ShownTouching);
    EXPECT_EQ(apartByOne, ShownApart);
}

TEST_F(PlayerTest, NearTheMapsLeftEdgeThePlayerIsNotHeldAndGruntsAtTheEdge) {
    std::vector<std::int32_t> xs;
    std::vector<std::int32_t> scrolls;
    Play(120, [&](int frame) {
        if (frame == 2) {
            game.world.GameMap->SetScrollPosition(30, game.world.GameMap->ScrollY);
            game.world.Player->PosX = 52;
            // Left and a little down.
            game.host.MoveMouse(-4, 1);
        }
        if (frame >= 4) {
            xs.push_back(game.world.Player->PosX);
            scrolls.push_back(game.world.GameMap->ScrollX);
        }
    });
    ASSERT_GT(xs.size(), 30u);
    // The map scrolls left to 0 and stays there; the player moves on to x 10.
    EXPECT_EQ(scrolls.back(), 0);
    EXPECT_EQ(xs.back(), 10);
    EXPECT_LT(xs[1], 50) << "not held at 50 while the map is near its edge";
    EXPECT_FALSE(game.SoundsPlayed("Grunt").empty());
}
