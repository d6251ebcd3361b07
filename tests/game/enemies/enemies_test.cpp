// SPDX-License-Identifier: MIT
// The enemies in a running game on the fake host: those near the player's start are moved out
// of its way as a stage starts.

#include "game/enemies/enemies.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "game_session.h"

using namespace zelto;

namespace {

class EnemiesTest : public ::testing::Test {
protected:
    void Play(std::uint64_t frames, std::function<void(int frame)> frame) {
        EXPECT_EQ(game.PlayWithoutEnemies(frames, std::move(frame)), 0);
    }

    GameSession game;
};

}  // namespace

TEST_F(EnemiesTest, EnemiesWithinSixtyFourOfTheStartOnBothAxesAreMovedSidewaysOutOfIt) {
    // The start is (640, 480); an enemy moved goes to x 575 (left of 640) or 705, its y kept.
    struct Row {
        std::int32_t x;
        std::int32_t y;
        std::int32_t keptX;
    };
    const Row rows[] = {
        {640, 480, 705},       // on it: to the right
        {639, 480, 575},       // left of it by one: to the left
        {640 - 64, 480, 575},  // 64 away on either axis is moved
        {640 + 64, 480, 705},  //
        {600, 480 - 64, 575},  //
        {700, 480 + 64, 705},  //
        {704, 416, 705},       // and so is the square's corner
        {640 - 65, 480, 575},  // 65 away stays
        {640 + 65, 480, 705},  //
        {600, 480 - 65, 600},  //
        {700, 480 + 65, 700},  //
        {100, 100, 100},       // far away
    };
    std::vector<std::int32_t> xs;
    std::vector<std::int32_t> ys;
    Play(10, [&](int frame) {
        if (frame != 2) return;
        for (std::size_t i = 0; i < std::size(rows); ++i) {
            game.world.Enemies[i]->WorldX = rows[i].x;
            game.world.Enemies[i]->WorldY = rows[i].y;
        }
        KeepEnemiesAwayFrom(game.world, 640, 480);
        for (std::size_t i = 0; i < std::size(rows); ++i) {
            xs.push_back(game.world.Enemies[i]->WorldX);
            ys.push_back(game.world.Enemies[i]->WorldY);
        }
        game.ClearEnemies();
    });
    ASSERT_EQ(xs.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(xs[i], rows[i].keptX) << "from (" << rows[i].x << ", " << rows[i].y << ")";
        EXPECT_EQ(ys[i], rows[i].y) << "from (" << rows[i].x << ", " << rows[i].y << ")";
    }
}
