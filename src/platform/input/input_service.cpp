// SPDX-License-Identifier: MIT
#include "platform/input/input_service.h"

#include <cstring>

#include "platform/host/host.h"

namespace platform {

HRESULT DirectInputCreate(HINSTANCE, DWORD version, std::shared_ptr<InputService>* service) {
    if (service == nullptr || version < DIRECTINPUT_VERSION) return DIERR_INVALIDPARAM;
    *service = std::make_shared<InputService>(CurrentHost());
    return DI_OK;
}

HRESULT InputService::CreateDevice(InputDeviceKind kind, std::shared_ptr<InputDevice>* device) {
    if (device == nullptr) return DIERR_INVALIDPARAM;
    if (kind == InputDeviceKind::Joystick && !host_->JoystickAttached()) return DIERR_DEVICENOTREG;
    *device = std::make_shared<InputDevice>(*host_, kind);
    return DI_OK;
}

HRESULT InputService::EnumJoysticks(EnumJoysticksCallback callback, void* context) {
    if (callback == nullptr) return DIERR_INVALIDPARAM;
    // This platform offers the first attached joystick only.
    if (host_->JoystickAttached()) callback(0, context);
    return DI_OK;
}

HRESULT InputDevice::SetDataFormat(InputDeviceKind format) {
    return format == kind_ ? DI_OK : DIERR_INVALIDPARAM;
}

HRESULT InputDevice::SetCooperativeLevel(HWND, DWORD flags) {
    cooperativeFlags_ = flags;
    return DI_OK;
}

HRESULT InputDevice::SetAxisRange(DWORD axisOffset, std::int32_t minimum, std::int32_t maximum) {
    if (kind_ != InputDeviceKind::Joystick || axisOffset > DIJOFS_Y || minimum >= maximum) {
        return DIERR_INVALIDPARAM;
    }
    return DI_OK;
}

HRESULT InputDevice::SetDeadZone(DWORD axisOffset, DWORD deadZone) {
    if (kind_ != InputDeviceKind::Joystick || axisOffset > DIJOFS_Y || deadZone > 10000) {
        return DIERR_INVALIDPARAM;
    }
    return DI_OK;
}

HRESULT InputDevice::Acquire() {
    if (!host_->WindowInFront()) return DIERR_OTHERAPPHASPRIO;
    acquired_ = true;
    if (kind_ == InputDeviceKind::Mouse && (cooperativeFlags_ & DISCL_EXCLUSIVE)) {
        host_->SetMouseCaptured(true);
    }
    return DI_OK;
}

HRESULT InputDevice::Unacquire() {
    if (acquired_ && kind_ == InputDeviceKind::Mouse && (cooperativeFlags_ & DISCL_EXCLUSIVE)) {
        host_->SetMouseCaptured(false);
    }
    acquired_ = false;
    return DI_OK;
}

HRESULT InputDevice::Poll() {
    return acquired_ ? DI_OK : DIERR_NOTACQUIRED;
}

HRESULT InputDevice::GetDeviceState(DWORD size, void* state) {
    if (state == nullptr) return DIERR_INVALIDPARAM;
    if (!acquired_) return DIERR_NOTACQUIRED;
    // A foreground device loses its acquisition when the window leaves the front.
    if (!host_->WindowInFront()) {
        Unacquire();
        return DIERR_INPUTLOST;
    }
    switch (kind_) {
        case InputDeviceKind::Keyboard: {
            if (size != kKeyboardStateSize) return DIERR_INVALIDPARAM;
            if (!host_->ReadKeyboard(static_cast<std::uint8_t*>(state))) return DIERR_INPUTLOST;
            return DI_OK;
        }
        case InputDeviceKind::Mouse: {
            if (size != kMouseStateSize) return DIERR_INVALIDPARAM;
            Host::MouseReading reading;
            if (!host_->ReadMouse(reading)) return DIERR_INPUTLOST;
            auto* bytes = static_cast<std::uint8_t*>(state);
            std::memcpy(bytes + kMouseMotionXOffset, &reading.dx, 4);
            std::memcpy(bytes + kMouseMotionYOffset, &reading.dy, 4);
            std::memcpy(bytes + kMouseWheelOffset, &reading.wheel, 4);
            std::memcpy(bytes + kMouseButtonsOffset, reading.buttons, 4);
            return DI_OK;
        }
        case InputDeviceKind::Joystick: {
            if (size != kJoystickStateSize) return DIERR_INVALIDPARAM;
            auto* bytes = static_cast<std::uint8_t*>(state);
            std::memset(bytes, 0, kJoystickStateSize);
            if (!host_->ReadJoystick(bytes + kJoystickButtonsOffset)) return DIERR_INPUTLOST;
            return DI_OK;
        }
    }
    return DIERR_INVALIDPARAM;
}

}  // namespace platform
