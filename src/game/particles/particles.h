// SPDX-License-Identifier: MIT
#pragma once

// Energon particles and the Energon level: fifteen particles made once at start-up, switched
// in and out of play by a timer, collected by touching them; the level drains with time.

#include <cstdint>

#include "game/world/world.h"

namespace zelto {

// What one collected particle adds to the Energon level.
constexpr std::int32_t kRadsPerParticle = 10;

// Loads the particles' sheet ("ENERGON.BMP", 40 frames of 32 x 32) and makes the 15
// particles, all out of play, each of a random kind with its frame list.
void CreateParticles(Game& game);
// Picks one of particles 0 to 9: takes it out of play where it is, or puts it in play at a
// new random place with the spawn sound.
void ToggleParticle(Game& game);
// Takes one rad from the Energon level.
void DrainEnergon(Game& game);
// One play frame of every particle in play: animate, draw if in view, and collect it when it
// touches the player (10 rads; a score bonus that grows with each one collected in the frame).
void UpdateParticles(Game& game);

}  // namespace zelto
