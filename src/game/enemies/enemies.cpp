// SPDX-License-Identifier: MIT
#include "enemies.h"

#include <memory>

#include "player.h"
#include "random.h"
#include "world.h"

using namespace cdx;

namespace zelto {

namespace {

// Enemies 12, 22 and 32 are on from the start of every stage.
constexpr int kInitiallyActive[] = {12, 22, 32};
// The toggle picks among the first 39 enemies: the last one never moves.
constexpr int kToggledEnemies = 39;

// The sheet an enemy's index gives it: spikes, jestoids, skulls, cybuds.
CDXTile* SheetOfEnemy(int index) {
    if (index <= 10) return SpikeSheet.get();
    if (index <= 20) return JestoidSheet.get();
    if (index <= 30) return SkullSheet.get();
    return CybudSheet.get();
}

}  // namespace

void CreateEnemies() {
    for (int i = 0; i < kEnemyCount; ++i) {
        auto enemy = std::make_unique<Actor>();
        enemy->Create(SheetOfEnemy(i));
        enemy->SetFrameList(0, {0, 1, 1});
        enemy->Frame = 0;
        enemy->AnimIndex = 0;
        enemy->AnimDelay = 1;
        enemy->WorldX = Random() % kWorldWidth;
        enemy->WorldY = Random() % kWorldHeight;
        enemy->Active = 0;
        Enemies[static_cast<std::size_t>(i)] = std::move(enemy);
    }
    for (int i : kInitiallyActive) Enemies[static_cast<std::size_t>(i)]->Active = 1;
}

void UpdateEnemies(PlayerTouchedHandler onPlayerTouched) {
    if (!GameMap || !Status) return;
    for (auto& enemy : Enemies) {
        if (!enemy) continue;
        StepAnimation(*enemy);
        const std::int32_t shown =
            ShowAndHit(*enemy, GameMap->ScrollX, GameMap->ScrollY, kViewTestWidth, kViewTestHeight);
        if (shown == ShownTouching) onPlayerTouched();
    }
}

void ToggleEnemy() {
    Actor* enemy = Enemies[static_cast<std::size_t>(Random() % kToggledEnemies)].get();
    if (enemy == nullptr) return;
    if (enemy->Active != 0) {
        enemy->Active = 0;
        return;
    }
    enemy->Active = 1;
    enemy->WorldX = Random() % kWorldWidth;
    enemy->WorldY = Random() % kWorldHeight;
    if (MonsterSound) MonsterSound->Play(0, 0, 0);
}

void KeepEnemiesAwayFrom(std::int32_t x, std::int32_t y) {
    // The contact distance again as a margin: an enemy just outside contact would touch the
    // player at the first motion of the mouse.
    constexpr std::int32_t kReach = 2 * kContactDistance;
    for (auto& enemy : Enemies) {
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
