// SPDX-License-Identifier: MIT
#pragma once

// Measures of the world that enemies and particles live in, how many of each it holds, and the
// play area the player moves in, derived from the screen and the map's view.

#include <cstdint>

#include "game/screen/screen_measures.h"

namespace zelto {

constexpr int kParticleCount = 15;
constexpr int kEnemyCount = 40;

// New places of enemies and particles are drawn within 1280 x 960 world pixels.
constexpr std::int32_t kWorldWidth = 1280;
constexpr std::int32_t kWorldHeight = 960;
// The largest scroll position stops one pixel short of the world's far edges.
constexpr std::int32_t kLargestScrollX = kWorldWidth - kMapViewWidth - 1;
constexpr std::int32_t kLargestScrollY = kWorldHeight - kMapViewHeight - 1;
// The part of the world, from the scroll position, in which actors are shown and can touch
// the player (both bounds inclusive): the map's view, less a strip at its right edge.
constexpr std::int32_t kViewTestWidth = kMapViewWidth - 22;
constexpr std::int32_t kViewTestHeight = kMapViewHeight;
// The Energon every stage starts with, and the critical mass of the first stage.
constexpr std::int32_t kStageStartEnergon = 200;
constexpr std::int32_t kFirstCriticalMass = 500;
// Every actor is kActorSize x kActorSize pixels, and two actors touch when their positions
// differ by at most its size along each axis (their frames' edges included).
constexpr std::int32_t kActorSize = 32;
constexpr std::int32_t kContactDistance = kActorSize;

// The play area, in screen positions of the player's top-left corner: the player is held inside
// it, and rubbing its edge costs Energon. Its far edges keep the player's frame a few pixels
// inside the map's view.
constexpr std::int32_t kPlayAreaLeft = 10;
constexpr std::int32_t kPlayAreaRight = kMapViewWidth - kActorSize - 3;
constexpr std::int32_t kPlayAreaTop = 10;
constexpr std::int32_t kPlayAreaBottom = kMapViewHeight - kActorSize - 4;
// Past these screen positions the map scrolls instead of the player moving on.
constexpr std::int32_t kHoldLeft = 50;
constexpr std::int32_t kHoldRight = kMapViewWidth - 50;
constexpr std::int32_t kHoldTop = 50;
constexpr std::int32_t kHoldBottom = kMapViewHeight - 70;
// The scroll positions up to which the player is held there near the far edges: rightwards to
// the largest scroll position, downwards to 40 pixels short of it.
constexpr std::int32_t kScrollHoldRight = kLargestScrollX;
constexpr std::int32_t kScrollHoldBottom = kLargestScrollY - 40;

}  // namespace zelto
