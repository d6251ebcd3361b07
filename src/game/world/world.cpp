// SPDX-License-Identifier: MIT
#include "world.h"

using namespace platform;

using namespace cdx;

namespace zelto {

void RestoreLostSurfaces(Game& game) {
    if (!game.GameScreen) return;
    game.GameScreen->RestoreAll();
    for (const auto* sheet :
         {&game.SpikeSheet, &game.CybudSheet, &game.SkullSheet, &game.JestoidSheet, &game.HudSheet,
          &game.TitleSheet, &game.PlayerSheet, &game.EnergonSheet}) {
        CDXTile* tile = sheet->get();
        if (tile != nullptr && tile->Surface && tile->Surface->IsLost() == DDERR_SURFACELOST) {
            tile->Restore();
        }
    }
    if (game.GameMap && game.GameMap->IsLost()) game.GameMap->Restore();
}

}  // namespace zelto
