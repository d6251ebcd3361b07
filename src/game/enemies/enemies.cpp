// SPDX-License-Identifier: MIT
#include "enemies.h"

#include <memory>

#include "player.h"
#include "random.h"

using namespace cdx;

namespace zelto {

namespace {

// Enemies 12, 22 and 32 are on from the start of every stage.
constexpr int kInitiallyActive[] = {12, 22, 32};
// The toggle picks among the first 39 enemies: the last one never moves.
constexpr int kToggledEnemies = 39;

// The sheet an enemy's index gives it: spikes, jestoids, skulls, cybuds.
CDXTile* SheetOfEnemy(const Game& game, int index) {
    if (index <= 10) return game.SpikeSheet.get();
    if (index <= 20) return game.JestoidSheet.get();
    if (index <= 30) return game.SkullSheet.get();
    return game.CybudSheet.get();
}

}  // namespace

void CreateEnemies(Game& game) {
    for (int i = 0; i < kEnemyCount; ++i) {
        auto enemy = std::make_unique<Actor>();
        enemy->Create(SheetOfEnemy(game, i));
        enemy->SetFrameList(0, {0, 1, 1});
        enemy->Frame = 0;
        enemy->AnimIndex = 0;
        enemy->AnimDelay = 1;
        enemy->WorldX = game.Random.Next() % kWorldWidth;
        enemy->WorldY = game.Random.Next() % kWorldHeight;
        enemy->Active = 0;
        game.Enemies[static_cast<std::size_t>(i)] = std::move(enemy);
    }
    for (int i : kInitiallyActive) game.Enemies[static_cast<std::size_t>(i)]->Active = 1;
}

void UpdateEnemies(Game& game, PlayerTouchedHandler onPlayerTouched) {
    if (!game.GameMap || !game.Status) return;
    for (auto& enemy : game.Enemies) {
        if (!enemy) continue;
        StepAnimation(*enemy);
        const std::int32_t shown =
            ShowAndHit(game, *enemy, game.GameMap->ScrollX, game.GameMap->ScrollY, kViewTestWidth,
                       kViewTestHeight);
        if (shown == ShownTouching) onPlayerTouched(game);
    }
}

void ToggleEnemy(Game& game) {
    Actor* enemy =
        game.Enemies[static_cast<std::size_t>(game.Random.Next() % kToggledEnemies)].get();
    if (enemy == nullptr) return;
    if (enemy->Active != 0) {
        enemy->Active = 0;
        return;
    }
    enemy->Active = 1;
    enemy->WorldX = game.Random.Next() % kWorldWidth;
    enemy->WorldY = game.Random.Next() % kWorldHeight;
    if (game.MonsterSound) game.MonsterSound->Play(0, 0, 0);
}

void KeepEnemiesAwayFrom(Game& game, std::int32_t x, std::int32_t y) {
    // The contact distance again as a margin: an enemy just outside contact would touch the
    // player at the first motion of the mouse.
    constexpr std::int32_t kReach = 2 * kContactDistance;
    for (auto& enemy : game.Enemies) {
        if (!enemy) continue;
        const std::int32_t dx = enemy->WorldX - x;
        if (dx < -kReach || dx > kReach || enemy->WorldY < y - kReach ||
            enemy->WorldY > y + kReach) {
            continue;
        }
        enemy->WorldX = dx < 0 ? x - kReach - 1 : x + kReach + 1;
    }
}

}  // namespace zelto
