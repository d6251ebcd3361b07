// SPDX-License-Identifier: MIT
#include "cdx/input/cdxinput.h"

#include <cstring>

using namespace platform;

namespace cdx {

namespace {

// A device that refuses to be acquired is asked this many times in all before giving up.
constexpr int kAcquireAttempts = 51;

bool AcquireWithRetries(InputDevice& device) {
    for (int attempt = 0; attempt < kAcquireAttempts; ++attempt) {
        if (device.Acquire() == DI_OK) return true;
    }
    return false;
}

}  // namespace

CDXInput::CDXInput() {
    ClearKeys();
}

CDXInput::~CDXInput() {
    Release();
}

int CDXInput::Create(HINSTANCE instance, HWND window, std::int32_t exclusiveMouse) {
    if (DirectInputCreate(instance, DIRECTINPUT_VERSION, &Service) != DI_OK) return 0;

    if (Service->CreateDevice(InputDeviceKind::Mouse, &Mouse) == DI_OK) {
        Mouse->SetDataFormat(InputDeviceKind::Mouse);
        Mouse->SetCooperativeLevel(
            window, (exclusiveMouse ? DISCL_EXCLUSIVE : DISCL_NONEXCLUSIVE) | DISCL_FOREGROUND);
        AcquireMouse();
        if (!MouseAcquired) return 0;
    } else {
        Mouse.reset();
    }

    if (Service->CreateDevice(InputDeviceKind::Keyboard, &Keyboard) == DI_OK) {
        Keyboard->SetDataFormat(InputDeviceKind::Keyboard);
        Keyboard->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
        AcquireKeyboard();
        if (!KeyboardAcquired) return 0;
        Keys.ScanCodeTable = ScanCodeKeyCodes();
    } else {
        Keyboard.reset();
    }

    auto takeFirst = [](int joystickIndex, void* context) -> BOOL {
        (void)joystickIndex;
        auto* input = static_cast<CDXInput*>(context);
        return input->Service->CreateDevice(InputDeviceKind::Joystick, &input->Joystick) == DI_OK
                   ? DIENUM_STOP
                   : DIENUM_CONTINUE;
    };
    Service->EnumJoysticks(takeFirst, this);
    if (!Joystick) return 1;

    Joystick->SetDataFormat(InputDeviceKind::Joystick);
    Joystick->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
    if (Joystick->SetAxisRange(DIJOFS_X, -1000, 1000) != DI_OK ||
        Joystick->SetAxisRange(DIJOFS_Y, -1000, 1000) != DI_OK ||
        Joystick->SetDeadZone(DIJOFS_X, 1000) != DI_OK ||
        Joystick->SetDeadZone(DIJOFS_Y, 1000) != DI_OK) {
        return 0;
    }
    AcquireJoystick();
    return JoystickAcquired ? 1 : 0;
}

void CDXInput::Update() {
    // Without a keyboard device there is no keyboard to read; the mouse is still read.
    if (Keyboard) {
        std::uint8_t state[kKeyboardStateSize];
        if (Keyboard->GetDeviceState(kKeyboardStateSize, state) != DI_OK) {
            AcquireKeyboard();
            return;
        }
        Keys.ApplyKeyboard(state);
    }

    if (MouseAcquired) {
        std::uint8_t state[kMouseStateSize];
        if (Mouse->GetDeviceState(kMouseStateSize, state) != DI_OK) {
            AcquireMouse();
            return;
        }
        std::int32_t dx;
        std::int32_t dy;
        std::memcpy(&dx, state + kMouseMotionXOffset, 4);
        std::memcpy(&dy, state + kMouseMotionYOffset, 4);
        MouseX = MoveMouseAxis(MouseX, dx, MouseFactor, MouseLowerX, MouseUpperX);
        MouseY = MoveMouseAxis(MouseY, dy, MouseFactor, MouseLowerY, MouseUpperY);
        for (int button = 0; button < 3; ++button) {
            Keys.ApplyButton(kMouseButtonKeys + button, state[kMouseButtonsOffset + button]);
        }
    }

    if (JoystickAcquired) {
        std::uint8_t state[kJoystickStateSize];
        Joystick->Poll();
        if (Joystick->GetDeviceState(kJoystickStateSize, state) != DI_OK) {
            Joystick->Acquire();
            return;
        }
        for (int button = 0; button < 10; ++button) {
            Keys.ApplyButton(kJoystickButtonKeys + button, state[kJoystickButtonsOffset + button]);
        }
    }
}

std::uint16_t CDXInput::GetKeyState(std::uint32_t code) const {
    return ReadKeyState(Keys.KeyStates, code);
}

void CDXInput::GetMousePos(std::int32_t* x, std::int32_t* y) const {
    if (x != nullptr) *x = MouseX;
    if (y != nullptr) *y = MouseY;
}

const InputFrame& CDXInput::TakeFrame() {
    frame_.KeyStates = Keys.KeyStates;
    frame_.MotionX = MouseX - LastMouseX;
    frame_.MotionY = MouseY - LastMouseY;
    LastMouseX = MouseX;
    LastMouseY = MouseY;
    return frame_;
}

void CDXInput::ForgetMotion() {
    frame_.MotionX = 0;
    frame_.MotionY = 0;
    LastMouseX = MouseX;
    LastMouseY = MouseY;
}

void CDXInput::Release() {
    if (!Service) return;
    if (Keyboard) {
        UnacquireKeyboard();
        Keyboard.reset();
    }
    if (Mouse) {
        UnacquireMouse();
        Mouse.reset();
    }
    if (Joystick) {
        UnacquireJoystick();
        Joystick.reset();
    }
    Service.reset();
}

void CDXInput::AcquireKeyboard() {
    if (!Keyboard) return;
    KeyboardAcquired = AcquireWithRetries(*Keyboard) ? 1 : 0;
    if (KeyboardAcquired) ClearKeys();
}

void CDXInput::AcquireMouse() {
    if (!Mouse) return;
    MouseAcquired = AcquireWithRetries(*Mouse) ? 1 : 0;
}

void CDXInput::AcquireJoystick() {
    if (!Joystick) return;
    JoystickAcquired = AcquireWithRetries(*Joystick) ? 1 : 0;
}

void CDXInput::UnacquireKeyboard() {
    ClearKeys();
    KeyboardAcquired = 0;
    if (Keyboard) Keyboard->Unacquire();
}

void CDXInput::UnacquireMouse() {
    MouseAcquired = 0;
    if (Mouse) Mouse->Unacquire();
}

void CDXInput::UnacquireJoystick() {
    JoystickAcquired = 0;
    if (Joystick) Joystick->Unacquire();
}

}  // namespace cdx
