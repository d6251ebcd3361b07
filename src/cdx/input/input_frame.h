// SPDX-License-Identifier: MIT
#pragma once

// InputFrame: what one game frame reads of the input, taken once per frame so that every part
// of the frame sees the same keys and the same motion.

#include <array>
#include <cstdint>

#include "cdx/input/key_codes.h"
#include "cdx/input/keystate.h"

namespace cdx {

struct InputFrame {
    // Every key code's state in the four-state model, as the frame's reading left it.
    std::array<std::uint8_t, kKeyCodeCount> KeyStates{};
    // The change of the accumulated (scaled and clamped) mouse position since the previous
    // frame: what the player's steering reads.
    std::int32_t MotionX = 0;
    std::int32_t MotionY = 0;

    // A key code's state, read as CDXInput::GetKeyState reads it.
    KeyState Key(std::uint32_t code) const;
};

}  // namespace cdx
