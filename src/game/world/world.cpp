// SPDX-License-Identifier: MIT
#include "game/world/world.h"

using namespace platform;

using namespace cdx;

namespace zelto {

void RestoreLostSurfaces(Game& game) {
    if (!game.GameScreen) return;
    game.GameScreen->RestoreAll();
    const auto restore = [](CDXTile* tile) {
        if (tile != nullptr && tile->Surface && tile->Surface->IsLost() == DDERR_SURFACELOST) {
            tile->Restore();
        }
    };
    for (const auto& sheet : game.EnemySheets) restore(sheet.get());
    for (const auto* sheet :
         {&game.HudSheet, &game.TitleSheet, &game.PlayerSheet, &game.EnergonSheet}) {
        restore(sheet->get());
    }
    if (game.GameMap && game.GameMap->IsLost()) game.GameMap->Restore();
}

}  // namespace zelto
