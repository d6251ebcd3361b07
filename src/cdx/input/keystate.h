// SPDX-License-Identifier: MIT
#pragma once

// The four-state key model and the scan-code table, as plain code over the devices' raw bytes.

#include <array>
#include <cstdint>

#include "cdx/input/key_codes.h"

namespace cdx {

enum KeyState : std::uint8_t {
    KeyUp = 0,
    KeyReleased = 1,
    KeyPressed = 2,
    KeyHeld = 3,
};

// The next state of a key that is (down) or is not down at this update.
KeyState StepKeyState(KeyState current, bool down);

// The key code of each PC set-1 scan code (0x80 added for extended keys), 0 where ignored.
const std::array<std::uint32_t, 256>& ScanCodeKeyCodes();

// Mouse motion added to a position, kept below the upper and at or above the lower bounds.
std::int32_t MoveMouseAxis(std::int32_t position, std::int32_t motion, float factor,
                           std::int32_t lower, std::int32_t upper);

// A key code's state in a table of states. Only the low 16 bits of the code count, and a code
// past the table (there are 270) reads as up.
KeyState ReadKeyState(const std::array<std::uint8_t, kKeyCodeCount>& states, std::uint32_t code);

struct KeyStateTable {
    std::array<std::uint8_t, kKeyCodeCount> KeyStates{};
    std::array<std::uint8_t, 256> KeyboardState{};
    std::array<std::uint32_t, 256> ScanCodeTable{};

    // Applies one keyboard reading (bit 7 of each scan code's byte = down).
    void ApplyKeyboard(const std::uint8_t state[256]);
    void ApplyButton(int keyCode, std::uint8_t deviceByte);
    void Clear();
};

}  // namespace cdx
