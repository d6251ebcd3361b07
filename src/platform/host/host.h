// SPDX-License-Identifier: MIT
#pragma once

// The host: what the machine under the program provides. One table of operations with two
// implementations, the SDL host (a real window, display, clock) and the fake host (scripted,
// recorded, on a virtual clock). The window system, display service and clocks of this layer
// are written once over this interface; only the hosts know where pictures and events go.

#include <cstdint>
#include <vector>

#include "platform/host/display_types.h"
#include "platform/host/win_types.h"

namespace platform {

// What the sound service hands the host to play. The host pulls mixed frames from it as its
// output needs them: on the host's own audio thread (SDL) or at every blank (the fake host).
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Fills count frames of signed 16-bit stereo, left sample first.
    virtual void Mix(std::int16_t* frames, int count) = 0;
    // The host took the sound memory away, as when another program claims the device.
    virtual void LoseBuffers() = 0;
};

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

// The modes every host offers the display service. Any of them can be shown, whatever the real
// display: the picture is converted and scaled for it.
std::vector<DisplayMode> OfferedDisplayModes();

// The display's vertical blanks, in both hosts, come this many times a second.
inline constexpr int kRefreshRate = 60;

// The frames a second both hosts pull from the sound output (16-bit stereo).
inline constexpr int kSoundRate = 44100;

// Something the host saw happen to the window; the window system turns these into messages.
struct HostEvent {
    enum class Kind {
        CloseRequested,  // the window's close button, or the process asked to end
        FocusGained,
        FocusLost,
        CursorEntered,  // the pointer is over the window: the window system asks for a cursor
        DisplayLost,    // the display was taken away: video memory is gone
    };
    Kind kind = Kind::CloseRequested;
};

// One picture handed to the screen at a vertical blank: the primary surface's memory as it is.
struct PresentedPicture {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    DDPIXELFORMAT format;
    const PALETTEENTRY* palette = nullptr;  // 256 entries, for 8-bit pictures; may be null
};

class Host {
public:
    Host() = default;
    virtual ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Window.
    virtual bool OpenWindow(const char* title, HICON icon) = 0;
    virtual void ShowWindow() = 0;
    virtual void CloseWindow() = 0;
    virtual POINT DesktopSize() = 0;
    virtual void SetCursorVisible(bool visible) = 0;

    // Events: PollEvents never blocks; WaitForEvent sleeps until the host has news.
    virtual void PollEvents(std::vector<HostEvent>& events) = 0;
    virtual void WaitForEvent() = 0;

    // Display.
    virtual std::vector<DisplayMode> DisplayModes() = 0;
    virtual bool SetDisplayMode(const DisplayMode& mode) = 0;
    virtual void RestoreDisplayMode() = 0;
    // Blocks until the start of the next vertical blank (kRefreshRate a second).
    virtual void WaitForVerticalBlank() = 0;
    // Shows one picture; called right after a vertical blank began.
    virtual void Present(const PresentedPicture& picture) = 0;

    // Input. Devices of the window can be acquired and read only while it is in front.
    virtual bool WindowInFront() = 0;
    // The keyboard by PC set-1 scan code (0x80 added for extended keys); bit 7 set = down.
    virtual bool ReadKeyboard(std::uint8_t state[256]) = 0;
    struct MouseReading {
        std::int32_t dx = 0;  // relative motion since the last reading
        std::int32_t dy = 0;
        std::int32_t wheel = 0;
        std::uint8_t buttons[4] = {};  // bit 7 set = down
    };
    virtual bool ReadMouse(MouseReading& reading) = 0;
    // An exclusive mouse is captured: the pointer stays in the window and only motion counts.
    virtual void SetMouseCaptured(bool captured) = 0;
    // The program does not steer with the mouse now (a title, a pause): in a window the pointer
    // is shown and may leave, whatever the capture and the cursor say; full screen keeps it
    // hidden and held. False gives capture and cursor back their say.
    virtual void SetPointerFree(bool free) = 0;
    virtual bool JoystickAttached() = 0;
    virtual bool ReadJoystick(std::uint8_t buttons[32]) = 0;

    // Clocks.
    virtual std::int64_t PerformanceCounter() = 0;
    virtual std::int64_t PerformanceFrequency() = 0;
    virtual std::uint32_t Milliseconds() = 0;
    virtual std::int64_t SecondsSinceEpoch() = 0;

    // Sound. OpenSound starts pulling frames from output at a rate of the host's choice and
    // answers false when there is no sound device; one output at a time.
    virtual bool OpenSound(SoundOutput* output, int* framesPerSecond) = 0;
    virtual void CloseSound() = 0;

    // Message box and debugger output.
    virtual int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) = 0;
    virtual void DebugOutput(const char* text) = 0;
};

// The host every platform call goes to. The program's entry installs one before anything else.
void SetHost(Host* host);
Host& CurrentHost();

}  // namespace platform
