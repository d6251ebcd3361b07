// SPDX-License-Identifier: MIT
#pragma once

// The key codes CDXInput::GetKeyState takes, and the keyboard scan codes they come from, named
// once for the engine, the game and the tests. A key's code is its character where it has one
// (lower-case letters, digits, punctuation, space) and a small number for the rest; the mouse
// and joystick buttons follow the keyboard's 256 codes.

#include <cstdint>

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

// PC set-1 scan codes, as the keyboard device reports them (0x80 added for extended keys).
inline constexpr int kScanEscape = 0x01;
inline constexpr int kScanReturn = 0x1C;
inline constexpr int kScanSpace = 0x39;
inline constexpr int kScanP = 0x19;
inline constexpr int kScanM = 0x32;
inline constexpr int kScanPause = 0xC5;  // extended

}  // namespace cdx
