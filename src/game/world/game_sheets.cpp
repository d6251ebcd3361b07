// SPDX-License-Identifier: MIT
#include "game/world/game_sheets.h"

#include "cdx/surface/cdxscreen.h"

namespace zelto {

std::unique_ptr<cdx::CDXTile> LoadGameSheet(cdx::CDXScreen* screen, const char* fileName,
                                            std::int32_t blockWidth, std::int32_t blockHeight,
                                            std::int32_t blockCount) {
    auto sheet = std::make_unique<cdx::CDXTile>();
    // Memory type 2: the display service chooses where the pixels live.
    if (sheet->Create(screen, fileName, blockWidth, blockHeight, blockCount, 2) == 1) {
        sheet->SetColorKey();
    } else {
        cdx::FatalError(screen, "Cant load File %s", fileName);
    }
    return sheet;
}

}  // namespace zelto
