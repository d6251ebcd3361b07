// SPDX-License-Identifier: MIT
#pragma once

// The player: its sheet and two frame lists (alive, dying), the mouse steering that keeps the
// last diagonal course, the edges of the play area, and the scrolling of the map around it.
// Also the view and contact test that enemies and particles share: an actor of the world is
// shown when it lies in the view at the scroll position, and then tested against the player.

#include <cstdint>

#include "game/actors/actor.h"
#include "game/world/world.h"

namespace zelto {

// Where every stage puts the player, on the screen.
constexpr std::int32_t kPlayerStartX = 250;
constexpr std::int32_t kPlayerStartY = 240;
// The frame lists: alive (0) and the death sequence (1).
constexpr std::int32_t kAliveList = 0;
constexpr std::int32_t kDyingList = 1;
// The step of the death sequence at which it has run its course (its last entry, frame 60,
// lies beyond the sheet and draws nothing).
constexpr std::int32_t kDeathSequenceEnd = 10;

// Loads the player's sheet ("ZELTO.BMP", 10 frames of 32 x 32) and makes the player.
void CreatePlayer(Game& game);
// One play frame: moves, holds at the edges, steers, scrolls and draws the map, animates and
// draws the player.
void UpdatePlayer(Game& game);
// Scrolls the map when the player is near an edge of the view and holds the player there while
// the map can still scroll that way; then draws the map into the back buffer.
void ScrollView(Game& game);

// What ShowAndHit found.
enum ShowResult : std::int32_t {
    OutOfView = 0,
    ShownTouching = 1,
    ShownApart = 2,
};

// Places an actor of the world in the view at the scroll position, draws it onto the back
// buffer and tests it against the player. The view's bounds are inclusive: an actor whose
// world position lies exactly on scrollX + width is still shown.
std::int32_t ShowAndHit(Game& game, Actor& actor, std::int32_t scrollX, std::int32_t scrollY,
                        std::int32_t width, std::int32_t height);

}  // namespace zelto
