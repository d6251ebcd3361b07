// SPDX-License-Identifier: MIT
#pragma once

// The 64-bit hash (XXH3) of a presented picture as the program composed it: its rows without
// the padding between them, before any conversion for the window.

#include <cstdint>

#include "platform/host/host.h"

namespace platform {

std::uint64_t PictureHash(const PresentedPicture& picture);

}  // namespace platform
