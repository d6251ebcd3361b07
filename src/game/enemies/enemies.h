#pragma once

// The forty enemies: made afresh at every stage start at random places in the world, drawn
// whenever they are in the view, and each one that touches the player costs a life. A timer
// switches one of them off, or on at a new place, every half second.

namespace zelto {

// Makes the 40 enemies on their sheets (by index), at random world positions; enemies 12, 22
// and 32 start switched on.
void CreateEnemies();
// Called by UpdateEnemies for every enemy that touches the player, as soon as it is found: the
// game's states take the life it costs.
using PlayerTouchedHandler = void (*)();
// One play frame of every enemy, in index order: animate, draw if in view, and onPlayerTouched
// for each one touching the player.
void UpdateEnemies(PlayerTouchedHandler onPlayerTouched);
// Picks one of enemies 0 to 38: switches it off where it stands, or on at a new random place
// with the monster's sound.
void ToggleEnemy();

}  // namespace zelto
