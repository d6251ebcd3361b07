// SPDX-License-Identifier: MIT
#pragma once

// The SDL host: a real window on the desktop, the 640 x 480 picture scaled into it with its
// aspect kept and sharp pixels, a 60 Hz display paced by this host's own clock, real message
// boxes. The window is full screen or a window of the size asked for (the picture's size by
// default, and as the player resizes it); Alt+Enter switches between the two.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/host/host.h"

namespace platform {

class SdlHost : public Host {
public:
    enum class StartMode { kFullScreen, kWindow };
    // How the picture fills the window: as large as fits, or at the largest whole multiple of
    // its size that fits (every picture pixel an equal square), with black around it. A window
    // smaller than the picture gets it fitted either way.
    enum class Scaling { kFit, kWholeMultiples };
    // The window's inner size when none is asked for: the picture's own size, one window pixel
    // for each of its pixels.
    static constexpr POINT kDefaultWindowSize{640, 480};

    // Starts SDL's video and event subsystems; Ready() tells whether that worked. The window
    // opens full screen or as a window of the given inner size, as the mode says; a window
    // switched to from full screen gets that size too. A window opens with its top-left corner
    // (its frame's, where the window manager draws one) at the given desktop position, or,
    // switched to again, where the player last had it, if a window of its inner size there
    // lies wholly on one connected display; else centred.
    explicit SdlHost(StartMode mode = StartMode::kFullScreen, Scaling scaling = Scaling::kFit,
                     POINT windowSize = kDefaultWindowSize,
                     std::optional<POINT> windowPosition = std::nullopt);
    ~SdlHost() override;
    bool Ready() const;
    const char* StartError() const;
    // What the player left: whether the picture is in a window rather than full screen, and the
    // window's inner size as the player last had it (not maximized), also while full screen and
    // after the window is closed.
    bool InWindow() const;
    POINT WindowSize() const;
    // Where the window's top-left corner (its frame's) was as the player last had it (not
    // maximized), or, when it never was a window, the position given at the start.
    std::optional<POINT> WindowPosition() const;

    bool OpenWindow(const char* title, HICON icon) override;
    void ShowWindow() override;
    void CloseWindow() override;
    POINT DesktopSize() override;
    void SetCursorVisible(bool visible) override;
    void PollEvents(std::vector<HostEvent>& events) override;
    void WaitForEvent() override;
    std::vector<DisplayMode> DisplayModes() override;
    bool SetDisplayMode(const DisplayMode& mode) override;
    void RestoreDisplayMode() override;
    void WaitForVerticalBlank() override;
    void Present(const PresentedPicture& picture) override;
    bool WindowInFront() override;
    bool ReadKeyboard(std::uint8_t state[256]) override;
    bool ReadMouse(MouseReading& reading) override;
    void SetMouseCaptured(bool captured) override;
    void SetPointerFree(bool free) override;
    bool JoystickAttached() override;
    bool ReadJoystick(std::uint8_t buttons[32]) override;
    std::int64_t PerformanceCounter() override;
    std::int64_t PerformanceFrequency() override;
    std::uint32_t Milliseconds() override;
    std::int64_t SecondsSinceEpoch() override;
    bool OpenSound(SoundOutput* output, int* framesPerSecond) override;
    void CloseSound() override;
    int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    void DebugOutput(const char* text) override;

private:
    void SwitchFullScreen(bool fullScreen);
    // Notes the window's inner size and position while it is a plain window: not full screen,
    // maximized or minimized.
    void NoteWindowPlace();
    // Sets SDL's relative mouse mode and cursor from the capture, the cursor, the pointer's
    // freedom and the window mode.
    void ApplyPointer();

    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace platform
