// SPDX-License-Identifier: MIT
#pragma once

// Measures of the world that enemies and particles live in, and how many of each it holds.

#include <cstdint>

#include "screen_measures.h"

namespace zelto {

constexpr int kParticleCount = 15;
constexpr int kEnemyCount = 40;

// New places of enemies and particles are drawn within 1280 x 960 world pixels.
constexpr std::int32_t kWorldWidth = 1280;
constexpr std::int32_t kWorldHeight = 960;
// The part of the world, from the scroll position, in which actors are shown and can touch
// the player (both bounds inclusive): the map's view, less a strip at its right edge.
constexpr std::int32_t kViewTestWidth = 478;
constexpr std::int32_t kViewTestHeight = kMapViewHeight;
// The Energon every stage starts with, and the critical mass of the first stage.
constexpr std::int32_t kStageStartEnergon = 200;
constexpr std::int32_t kFirstCriticalMass = 500;
// Every actor is kActorSize x kActorSize pixels, and two actors touch when their positions
// differ by at most its size along each axis (their frames' edges included).
constexpr std::int32_t kActorSize = 32;
constexpr std::int32_t kContactDistance = kActorSize;

}  // namespace zelto
