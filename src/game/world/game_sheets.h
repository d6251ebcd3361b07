// SPDX-License-Identifier: MIT
#pragma once

// The game's sprite sheets, each loaded from a picture of the data set.

#include <cstdint>
#include <memory>

#include "cdx/sprite/cdxtile.h"
#include "cdx/surface/cdxscreen.h"

namespace zelto {

// A sheet on screen of blockCount frames of blockWidth x blockHeight from the picture fileName,
// keyed by its top-left pixel. A picture that cannot be loaded (missing, unreadable or damaged) is
// a fatal error reported as "Cant load File <fileName>", and leaves a sheet without a surface,
// which draws nothing. A readable picture of another size is taken as it is.
std::unique_ptr<cdx::CDXTile> LoadGameSheet(cdx::CDXScreen* screen, const char* fileName,
                                            std::int32_t blockWidth, std::int32_t blockHeight,
                                            std::int32_t blockCount);

}  // namespace zelto
