// SPDX-License-Identifier: MIT
#include "game_sheets.h"

#include "cdxscreen.h"
#include "world.h"

namespace zelto {

std::unique_ptr<cdx::CDXTile> LoadGameSheet(const char* fileName, std::int32_t blockWidth,
                                            std::int32_t blockHeight, std::int32_t blockCount) {
    auto sheet = std::make_unique<cdx::CDXTile>();
    // Memory type 2: the display service chooses where the pixels live.
    if (sheet->Create(GameScreen.get(), fileName, blockWidth, blockHeight, blockCount, 2) == 1) {
        sheet->SetColorKey();
    } else {
        cdx::FatalError(GameScreen.get(), "Cant load File %s", fileName);
    }
    return sheet;
}

}  // namespace zelto
