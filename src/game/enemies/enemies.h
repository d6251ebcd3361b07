// SPDX-License-Identifier: MIT
#pragma once

// The forty enemies: made afresh at every stage start at random places in the world, drawn
// whenever they are in the view, and each one that touches the player costs a life. A timer
// switches one of them off, or on at a new place, every half second.

#include <cstdint>
#include <memory>

#include "data_files.h"
#include "game/world/world.h"

namespace zelto {

// One kind of enemy: the picture its sheet of sheetFrames frames is cut from, the enemies (by
// index, both bounds inclusive) that are of it, and the sound it makes when it appears. A new
// kind is one row here and its picture among the data files.
struct EnemyKind {
    const char* sheetFile;
    std::int32_t sheetFrames;
    int firstEnemy;
    int lastEnemy;
    std::unique_ptr<cdx::CDXSoundBuffer> Game::*appearSound;
};

// In the order their sheets load, which is the order missing pictures are reported in.
inline constexpr EnemyKind kEnemyKinds[] = {
    {kSpikeSheetFile, 40, 0, 10, &Game::MonsterSound},
    {kCybudSheetFile, 40, 31, 39, &Game::MonsterSound},
    {kSkullSheetFile, 40, 21, 30, &Game::MonsterSound},
    {kJestoidSheetFile, 40, 11, 20, &Game::MonsterSound},
};

// Loads one sheet for each kind of kEnemyKinds into game.EnemySheets, in the table's order.
void LoadEnemySheets(Game& game);

// Makes the 40 enemies, each on the sheet of its kind, at random world positions; enemies 12,
// 22 and 32 start switched on.
void CreateEnemies(Game& game);
// Called by UpdateEnemies for every enemy that touches the player, as soon as it is found: the
// game's states take the life it costs.
using PlayerTouchedHandler = void (*)(Game& game);
// One play frame of every enemy, in index order: animate, draw if in view, and onPlayerTouched
// for each one touching the player.
void UpdateEnemies(Game& game, PlayerTouchedHandler onPlayerTouched);
// Picks one of enemies 0 to 38: switches it off where it stands, or on at a new random place
// with its kind's sound.
void ToggleEnemy(Game& game);
// Moves every enemy that stands within twice the contact distance of the world point (x, y)
// along both axes sideways out of that square: to its left edge minus one when it stands left
// of x, else to its right edge plus one; its y stays. The player starts a stage at rest there,
// and an enemy so close would take a life that no player can save. No random number is drawn.
void KeepEnemiesAwayFrom(Game& game, std::int32_t x, std::int32_t y);

}  // namespace zelto
