// SPDX-License-Identifier: MIT
#include "game/enemies/enemies.h"

#include <iterator>
#include <memory>

#include "game/player/player.h"
#include "game/timers_and_random/random.h"
#include "game/world/game_sheets.h"

using namespace cdx;

namespace zelto {

namespace {

// Enemies 12, 22 and 32 are on from the start of every stage.
constexpr int kInitiallyActive[] = {12, 22, 32};
// The toggle picks among the first 39 enemies: the last one never moves.
constexpr int kToggledEnemies = 39;

constexpr int kKindCount = static_cast<int>(std::size(kEnemyKinds));

// Every enemy is of exactly one kind.
constexpr bool KindsCoverEveryEnemyOnce() {
    for (int i = 0; i < kEnemyCount; ++i) {
        int kinds = 0;
        for (const EnemyKind& kind : kEnemyKinds) {
            if (kind.firstEnemy <= i && i <= kind.lastEnemy) ++kinds;
        }
        if (kinds != 1) return false;
    }
    for (const EnemyKind& kind : kEnemyKinds) {
        if (kind.firstEnemy < 0 || kind.lastEnemy >= kEnemyCount) return false;
    }
    return true;
}
static_assert(KindsCoverEveryEnemyOnce());

int KindOfEnemy(int index) {
    for (int kind = 0; kind < kKindCount; ++kind) {
        const EnemyKind& row = kEnemyKinds[kind];
        if (row.firstEnemy <= index && index <= row.lastEnemy) return kind;
    }
    return 0;
}

}  // namespace

void LoadEnemySheets(Game& game) {
    game.EnemySheets.clear();
    for (const EnemyKind& kind : kEnemyKinds) {
        game.EnemySheets.push_back(LoadGameSheet(game.GameScreen.get(), kind.sheetFile, kActorSize,
                                                 kActorSize, kind.sheetFrames));
    }
}

void CreateEnemies(Game& game) {
    for (int i = 0; i < kEnemyCount; ++i) {
        const int kind = KindOfEnemy(i);
        auto enemy = std::make_unique<Actor>();
        const auto sheet = static_cast<std::size_t>(kind);
        enemy->Create(sheet < game.EnemySheets.size() ? game.EnemySheets[sheet].get() : nullptr);
        enemy->Kind = kind;
        // Every kind shows its first frame once, then its second for twice as long.
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
    if (enemy->Kind < 0 || enemy->Kind >= kKindCount) return;
    const auto& sound = game.*kEnemyKinds[enemy->Kind].appearSound;
    if (sound) sound->Play(0, 0, 0);
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
