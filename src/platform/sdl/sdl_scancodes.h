// SPDX-License-Identifier: MIT
#pragma once

// SDL's key positions (USB usage codes) translated into PC set-1 scan codes, 0x80 added for
// the extended keys: the keyboard state the input service hands out is indexed by those.

#include <SDL_scancode.h>

#include <cstdint>

namespace platform {

// The set-1 scan code of an SDL scancode, or 0 where the key has none in the table.
std::uint8_t SetOneScanCode(SDL_Scancode scancode);

}  // namespace platform
