// SPDX-License-Identifier: MIT
#pragma once

// CDXInput: the keyboard, the mouse and a joystick gathered into one table of key states,
// polled once per frame. Key codes 0 to 255 come from the keyboard through the scan-code
// table, 256 to 258 are the mouse buttons, 260 to 269 the joystick's buttons. The game reads
// each of its frames through one InputFrame, taken once per frame after the update.

#include <cstdint>
#include <memory>

#include "cdx/input/input_frame.h"
#include "cdx/input/keystate.h"
#include "platform/host/win_types.h"
#include "platform/input/input_service.h"

namespace cdx {

class CDXInput {
public:
    CDXInput();
    ~CDXInput();
    CDXInput(const CDXInput&) = delete;
    CDXInput& operator=(const CDXInput&) = delete;

    int Create(platform::HINSTANCE instance, platform::HWND window, std::int32_t exclusiveMouse);
    void Update();
    std::uint16_t GetKeyState(std::uint32_t code) const;
    void GetMousePos(std::int32_t* x, std::int32_t* y) const;
    // Takes this frame's input: the key states the last update left, and the motion of the
    // accumulated position since the previous frame (from LastMouseX, LastMouseY, which then
    // move to the position).
    const InputFrame& TakeFrame();
    // The frame taken last (as ForgetMotion left it).
    const InputFrame& Frame() const { return frame_; }
    // The motion made up to now sets no course: the frame taken last has none, and the next
    // frame's is measured from the current position.
    void ForgetMotion();
    // Gives up every device and the service (the destructor's work).
    void Release();

    std::shared_ptr<platform::InputService> Service;
    std::shared_ptr<platform::InputDevice> Keyboard;
    std::shared_ptr<platform::InputDevice> Mouse;
    std::shared_ptr<platform::InputDevice> Joystick;
    std::int32_t MouseAcquired = 0;
    std::int32_t KeyboardAcquired = 0;
    std::int32_t JoystickAcquired = 0;
    float MouseFactor = 1.0f;
    std::int32_t MouseLowerX = INT32_MIN;
    std::int32_t MouseLowerY = INT32_MIN;
    std::int32_t MouseUpperX = INT32_MAX;
    std::int32_t MouseUpperY = INT32_MAX;
    std::int32_t MouseX = 0;
    std::int32_t MouseY = 0;
    // The position the next frame's motion is measured from.
    std::int32_t LastMouseX = 0;
    std::int32_t LastMouseY = 0;
    KeyStateTable Keys;

private:
    void AcquireKeyboard();
    void AcquireMouse();
    void AcquireJoystick();
    void UnacquireKeyboard();
    void UnacquireMouse();
    void UnacquireJoystick();
    void ClearKeys() { Keys.Clear(); }

    InputFrame frame_;
};

}  // namespace cdx
