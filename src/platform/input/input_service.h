// SPDX-License-Identifier: MIT
#pragma once

// The input service: the keyboard, the mouse and the first attached joystick as devices that
// are acquired for the window and read as raw state records, under the names the engine
// calls them by.

#include <cstdint>
#include <memory>

#include "platform/host/display_types.h"
#include "platform/host/win_types.h"

namespace platform {

inline constexpr HRESULT DI_OK = 0;
inline constexpr HRESULT DIERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x80070005u);
inline constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
inline constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
inline constexpr HRESULT DIERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154u);

inline constexpr DWORD DISCL_EXCLUSIVE = 0x00000001;
inline constexpr DWORD DISCL_NONEXCLUSIVE = 0x00000002;
inline constexpr DWORD DISCL_FOREGROUND = 0x00000004;
inline constexpr DWORD DIRECTINPUT_VERSION = 0x0500;
inline constexpr BOOL DIENUM_STOP = 0;
inline constexpr BOOL DIENUM_CONTINUE = 1;

// The standard state records.
inline constexpr DWORD kKeyboardStateSize = 256;
inline constexpr DWORD kMouseStateSize = 16;     // x, y, wheel motion (i32), 4 button bytes
inline constexpr DWORD kJoystickStateSize = 80;  // axes and hats, then 32 button bytes at 48
inline constexpr DWORD kJoystickButtonsOffset = 48;
inline constexpr DWORD kMouseMotionXOffset = 0;
inline constexpr DWORD kMouseMotionYOffset = 4;
inline constexpr DWORD kMouseWheelOffset = 8;
inline constexpr DWORD kMouseButtonsOffset = 12;
inline constexpr DWORD DIJOFS_X = 0;
inline constexpr DWORD DIJOFS_Y = 4;

enum class InputDeviceKind { Keyboard, Mouse, Joystick };

class Host;

class InputDevice {
public:
    InputDevice(Host& host, InputDeviceKind kind) : host_(&host), kind_(kind) {}

    // The record layout is the device's own standard one; the call only checks it matches.
    HRESULT SetDataFormat(InputDeviceKind format);
    HRESULT SetCooperativeLevel(HWND window, DWORD flags);
    HRESULT SetAxisRange(DWORD axisOffset, std::int32_t minimum, std::int32_t maximum);
    HRESULT SetDeadZone(DWORD axisOffset, DWORD deadZone);
    HRESULT Acquire();
    HRESULT Unacquire();
    HRESULT Poll();
    HRESULT GetDeviceState(DWORD size, void* state);

    InputDeviceKind kind() const { return kind_; }

private:
    Host* host_;
    InputDeviceKind kind_;
    DWORD cooperativeFlags_ = DISCL_NONEXCLUSIVE | DISCL_FOREGROUND;
    bool acquired_ = false;
};

using EnumJoysticksCallback = BOOL (*)(int joystickIndex, void* context);

class InputService {
public:
    explicit InputService(Host& host) : host_(&host) {}
    HRESULT CreateDevice(InputDeviceKind kind, std::shared_ptr<InputDevice>* device);
    // Calls back once per attached joystick until the callback answers DIENUM_STOP.
    HRESULT EnumJoysticks(EnumJoysticksCallback callback, void* context);

private:
    Host* host_;
};

HRESULT DirectInputCreate(HINSTANCE instance, DWORD version,
                          std::shared_ptr<InputService>* service);

}  // namespace platform
