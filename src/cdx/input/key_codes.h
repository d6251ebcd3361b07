// SPDX-License-Identifier: MIT
#pragma once

// The key codes CDXInput::GetKeyState takes, named once for the engine, the game and the tests;
// the keyboard scan codes they come from are the platform's (scan_codes.h). A key's code is its
// character where it has one (lower-case letters, digits, punctuation, space) and a small number
// for the rest; the mouse and joystick buttons follow the keyboard's 256 codes.

#include <cstdint>

#include "platform/host/scan_codes.h"

namespace cdx {

// Key codes.
inline constexpr std::uint32_t kKeyBackspace = 8;
inline constexpr std::uint32_t kKeyTab = 9;
inline constexpr std::uint32_t kKeyReturn = 13;
inline constexpr std::uint32_t kKeyEscape = 27;
inline constexpr std::uint32_t kKeySpace = ' ';
inline constexpr std::uint32_t kKeyPause = 176;
inline constexpr std::uint32_t kMouseButtonKeys = 256;  // 256, 257, 258: mouse buttons 0, 1, 2
inline constexpr std::uint32_t kKeyMouseLeft = kMouseButtonKeys;
inline constexpr std::uint32_t kJoystickButtonKeys = 260;  // 260 .. 269: joystick buttons 0 .. 9
inline constexpr std::uint32_t kKeyCodeCount = 270;

}  // namespace cdx
