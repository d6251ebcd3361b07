// SPDX-License-Identifier: MIT
#pragma once

// The heads-up display: the Energon level, the critical mass, the lives and the score, written
// over the panel beside the map view, last in every play frame.

#include "game/world/world.h"

namespace zelto {

void DrawHud(Game& game);

}  // namespace zelto
