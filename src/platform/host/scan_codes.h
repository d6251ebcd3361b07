// SPDX-License-Identifier: MIT
#pragma once

// The keyboard's PC set-1 scan codes, 0x80 added for the extended keys: the index of the state
// Host::ReadKeyboard fills. Named once here for the hosts (the SDL host's translation of SDL's
// key positions), the engine's key codes, the recording's viewer and the tests.

namespace platform {

inline constexpr int kScanEscape = 0x01;
inline constexpr int kScanDigit1 = 0x02;
inline constexpr int kScanDigit2 = 0x03;
inline constexpr int kScanDigit3 = 0x04;
inline constexpr int kScanDigit4 = 0x05;
inline constexpr int kScanDigit5 = 0x06;
inline constexpr int kScanDigit6 = 0x07;
inline constexpr int kScanDigit7 = 0x08;
inline constexpr int kScanDigit8 = 0x09;
inline constexpr int kScanDigit9 = 0x0A;
inline constexpr int kScanDigit0 = 0x0B;
inline constexpr int kScanMinus = 0x0C;
inline constexpr int kScanEquals = 0x0D;
inline constexpr int kScanBackspace = 0x0E;
inline constexpr int kScanTab = 0x0F;
inline constexpr int kScanQ = 0x10;
inline constexpr int kScanW = 0x11;
inline constexpr int kScanE = 0x12;
inline constexpr int kScanR = 0x13;
inline constexpr int kScanT = 0x14;
inline constexpr int kScanY = 0x15;
inline constexpr int kScanU = 0x16;
inline constexpr int kScanI = 0x17;
inline constexpr int kScanO = 0x18;
inline constexpr int kScanP = 0x19;
inline constexpr int kScanLeftBracket = 0x1A;
inline constexpr int kScanRightBracket = 0x1B;
inline constexpr int kScanReturn = 0x1C;
inline constexpr int kScanLeftControl = 0x1D;
inline constexpr int kScanA = 0x1E;
inline constexpr int kScanS = 0x1F;
inline constexpr int kScanD = 0x20;
inline constexpr int kScanF = 0x21;
inline constexpr int kScanG = 0x22;
inline constexpr int kScanH = 0x23;
inline constexpr int kScanJ = 0x24;
inline constexpr int kScanK = 0x25;
inline constexpr int kScanL = 0x26;
inline constexpr int kScanSemicolon = 0x27;
inline constexpr int kScanApostrophe = 0x28;
inline constexpr int kScanGrave = 0x29;
inline constexpr int kScanLeftShift = 0x2A;
inline constexpr int kScanBackslash = 0x2B;
inline constexpr int kScanZ = 0x2C;
inline constexpr int kScanX = 0x2D;
inline constexpr int kScanC = 0x2E;
inline constexpr int kScanV = 0x2F;
inline constexpr int kScanB = 0x30;
inline constexpr int kScanN = 0x31;
inline constexpr int kScanM = 0x32;
inline constexpr int kScanComma = 0x33;
inline constexpr int kScanPeriod = 0x34;
inline constexpr int kScanSlash = 0x35;
inline constexpr int kScanRightShift = 0x36;
inline constexpr int kScanKeypadMultiply = 0x37;
inline constexpr int kScanLeftAlt = 0x38;
inline constexpr int kScanSpace = 0x39;
inline constexpr int kScanCapsLock = 0x3A;
inline constexpr int kScanF1 = 0x3B;
inline constexpr int kScanF2 = 0x3C;
inline constexpr int kScanF3 = 0x3D;
inline constexpr int kScanF4 = 0x3E;
inline constexpr int kScanF5 = 0x3F;
inline constexpr int kScanF6 = 0x40;
inline constexpr int kScanF7 = 0x41;
inline constexpr int kScanF8 = 0x42;
inline constexpr int kScanF9 = 0x43;
inline constexpr int kScanF10 = 0x44;
inline constexpr int kScanNumLock = 0x45;
inline constexpr int kScanScrollLock = 0x46;
inline constexpr int kScanKeypad7 = 0x47;
inline constexpr int kScanKeypad8 = 0x48;
inline constexpr int kScanKeypad9 = 0x49;
inline constexpr int kScanKeypadMinus = 0x4A;
inline constexpr int kScanKeypad4 = 0x4B;
inline constexpr int kScanKeypad5 = 0x4C;
inline constexpr int kScanKeypad6 = 0x4D;
inline constexpr int kScanKeypadPlus = 0x4E;
inline constexpr int kScanKeypad1 = 0x4F;
inline constexpr int kScanKeypad2 = 0x50;
inline constexpr int kScanKeypad3 = 0x51;
inline constexpr int kScanKeypad0 = 0x52;
inline constexpr int kScanKeypadPeriod = 0x53;
inline constexpr int kScanF11 = 0x57;
inline constexpr int kScanF12 = 0x58;
// Extended keys.
inline constexpr int kScanKeypadEnter = 0x9C;
inline constexpr int kScanRightControl = 0x9D;
inline constexpr int kScanKeypadDivide = 0xB5;
inline constexpr int kScanPrintScreen = 0xB7;
inline constexpr int kScanRightAlt = 0xB8;
inline constexpr int kScanPause = 0xC5;
inline constexpr int kScanHome = 0xC7;
inline constexpr int kScanUp = 0xC8;
inline constexpr int kScanPageUp = 0xC9;
inline constexpr int kScanLeft = 0xCB;
inline constexpr int kScanRight = 0xCD;
inline constexpr int kScanEnd = 0xCF;
inline constexpr int kScanDown = 0xD0;
inline constexpr int kScanPageDown = 0xD1;
inline constexpr int kScanInsert = 0xD2;
inline constexpr int kScanDelete = 0xD3;

}  // namespace platform
