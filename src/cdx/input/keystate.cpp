// SPDX-License-Identifier: MIT
#include "cdx/input/keystate.h"

#include <cstring>

namespace cdx {

KeyState StepKeyState(KeyState current, bool down) {
    switch (current) {
        case KeyUp:
        case KeyReleased:
            return down ? KeyPressed : KeyUp;
        case KeyPressed:
        case KeyHeld:
            return down ? KeyHeld : KeyReleased;
    }
    return KeyUp;
}

const std::array<std::uint32_t, 256>& ScanCodeKeyCodes() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> codes{};
        auto run = [&codes](int firstScan, std::initializer_list<std::uint32_t> keys) {
            int scan = firstScan;
            for (std::uint32_t key : keys) codes[static_cast<std::size_t>(scan++)] = key;
        };
        using namespace platform;
        run(kScanEscape, {kKeyEscape, '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', '-', '=',
                          kKeyBackspace, kKeyTab});
        run(kScanQ, {'q', 'w', 'e', 'r', 't', 'y', 'u', 'i', 'o', 'p', '[', ']', kKeyReturn, 130});
        run(kScanA, {'a', 's', 'd', 'f', 'g', 'h', 'j', 'k', 'l', ';', '\'', '`', 128, '\\'});
        run(kScanZ,
            {'z', 'x', 'c', 'v', 'b', 'n', 'm', ',', '.', '/', 129, 157, 132, kKeySpace, 173});
        run(kScanF1, {138, 139, 140, 141, 142, 143, 144, 145, 146, 147, 172, 174});
        run(kScanKeypad7, {169, 170, 171, 158, 166, 167, 168, 159, 163, 164, 165, 162, 161});
        run(kScanF11, {148, 149});
        run(kScanKeypadEnter, {160, 131});
        codes[kScanKeypadDivide] = 156;
        codes[kScanPrintScreen] = 175;
        codes[kScanRightAlt] = 133;
        codes[kScanPause] = kKeyPause;
        run(kScanHome, {152, 136, 154});
        codes[kScanLeft] = 134;
        codes[kScanRight] = 135;
        run(kScanEnd, {153, 137, 155, 150, 151});
        return codes;
    }();
    return table;
}

std::int32_t MoveMouseAxis(std::int32_t position, std::int32_t motion, float factor,
                           std::int32_t lower, std::int32_t upper) {
    const auto delta = static_cast<std::int64_t>(static_cast<float>(motion) * factor);
    std::int64_t moved = static_cast<std::int64_t>(position) + delta;
    if (moved >= upper) moved = static_cast<std::int64_t>(upper) - 1;
    if (moved <= lower) moved = lower;
    return static_cast<std::int32_t>(moved);
}

KeyState ReadKeyState(const std::array<std::uint8_t, kKeyCodeCount>& states, std::uint32_t code) {
    code &= 0xFFFF;
    if (code >= static_cast<std::uint32_t>(kKeyCodeCount)) return KeyUp;
    return static_cast<KeyState>(states[code]);
}

void KeyStateTable::ApplyKeyboard(const std::uint8_t state[256]) {
    std::memcpy(KeyboardState.data(), state, KeyboardState.size());
    for (std::size_t scan = 0; scan < 256; ++scan) {
        const std::uint32_t code = ScanCodeTable[scan];
        if (code == 0) continue;
        KeyStates[code] =
            StepKeyState(static_cast<KeyState>(KeyStates[code]), (state[scan] & 0x80) != 0);
    }
}

void KeyStateTable::ApplyButton(int keyCode, std::uint8_t deviceByte) {
    KeyStates[static_cast<std::size_t>(keyCode)] =
        StepKeyState(static_cast<KeyState>(KeyStates[static_cast<std::size_t>(keyCode)]),
                     (deviceByte & 0x80) != 0);
}

void KeyStateTable::Clear() {
    KeyStates.fill(KeyUp);
    KeyboardState.fill(0);
}

}  // namespace cdx
