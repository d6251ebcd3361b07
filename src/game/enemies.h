#pragma once

// The forty enemies: made afresh at every stage start at random places in the world, drawn
// whenever they are in the view, and each one that touches the player costs a life. A timer
// switches one of them off, or on at a new place, every half second.

#include <cstdint>

constexpr int kEnemyCount = 40;

// Makes the 40 enemies on their sheets (by index), at random world positions; enemies 12, 22
// and 32 start switched on.
void CreateEnemies();
// One play frame of every enemy, in index order: animate, draw if in view, and a life for each
// one touching the player.
void UpdateEnemies();
// Picks one of enemies 0 to 38: switches it off where it stands, or on at a new random place
// with the monster's sound.
void ToggleEnemy();
