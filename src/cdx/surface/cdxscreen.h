// SPDX-License-Identifier: MIT
#pragma once

// CDXScreen: the display object, its modes and devices, the full-screen mode with its front
// and back buffers, the palette, and the per-frame flip with its frames-per-second readout.

#include <cstdint>
#include <memory>
#include <vector>

#include "cdx/surface/cdxsurface.h"
#include "platform/display/display_device.h"
#include "platform/display/display_palette.h"
#include "platform/host/win_types.h"

namespace cdx {

struct CDXDisplayMode {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t BPP = 0;
};

struct CDXDisplayDevice {
    platform::GUID* Guid = nullptr;  // points at GuidCopy, or null for the default driver
    platform::GUID GuidCopy;
    char DriverName[512] = {};
    char Description[512] = {};
    platform::DDCAPS DriverCaps;
    platform::DDCAPS EmulationCaps;
    void* Monitor = nullptr;
};

// Flip's arguments, each set by passing 1 and clear by passing 0: wait for the vertical blank,
// stretch the picture to the whole screen, draw the frame-rate readout.
inline constexpr std::int32_t kFlipWaitForBlank = 1;
inline constexpr std::int32_t kFlipStretchToScreen = 1;
inline constexpr std::int32_t kFlipShowFrameRate = 1;

class CDXScreen {
public:
    // Makes the display object and its lists. A display object that cannot be made is reported
    // (and the quit message posted); the screen is then left without one and every operation
    // answers as a screen without a display: no modes, creation refused, flips not initialised.
    CDXScreen();
    ~CDXScreen();
    CDXScreen(const CDXScreen&) = delete;
    CDXScreen& operator=(const CDXScreen&) = delete;

    int CheckMode(std::int32_t width, std::int32_t height, std::int32_t bpp) const;
    int CreateFullScreen(platform::HWND window, std::int32_t width, std::int32_t height,
                         std::int32_t bpp, std::int32_t vgaMode);
    // Each argument is 0 or 1 (kFlipWaitForBlank, kFlipStretchToScreen, kFlipShowFrameRate).
    platform::HRESULT Flip(std::int32_t waitVB, std::int32_t fullStretch, std::int32_t showFPS);
    void RestoreAll();
    platform::HRESULT SetPaletteEntries(std::int32_t first, std::int32_t count,
                                        const platform::PALETTEENTRY* entries);
    platform::HRESULT WaitVBlank();

    // The frames-per-second arithmetic of Flip, on the millisecond clock reading `now`.
    void CountFrame(std::uint32_t now);

    std::shared_ptr<platform::DisplayDevice> DirectDraw;
    CDXSurface* Front = nullptr;
    CDXSurface* Back = nullptr;
    std::shared_ptr<platform::DisplayPalette> Palette;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t BPP = 0;
    platform::HWND Wnd = nullptr;
    std::int32_t FullScreen = 0;
    std::int32_t ModeCount = 0;
    std::vector<CDXDisplayMode> ModeList;
    std::int32_t TripleBuffer = 0;
    std::int32_t VideoMemory = 1;
    std::int32_t DeviceCount = 0;
    std::vector<CDXDisplayDevice> DeviceList;
    std::uint32_t FrameCount = 0;
    std::uint32_t FrameTime = 0;
    std::uint32_t LastTime = 0;
    std::int32_t FPS = 0;

private:
    void EnumerateDevices();
    void EnumerateModes();
    void DeleteBuffers();
};

// A new 256-entry 3-3-2 colour-cube palette made through the display object, or null when the
// display object refuses it: the palette of an 8-bit screen.
std::shared_ptr<platform::DisplayPalette> LoadDefaultPalette(platform::DisplayDevice& display);

// The entries that 8-bit pictures are matched against: the screen's palette, or null.
const platform::PALETTEENTRY* ScreenPalette(const CDXScreen* screen);

// The fatal error report over a screen: the formatted message (cut at 1023 characters) in an
// error box owned by the screen's window, after the display shows the desktop's surface, and
// the quit message (ReportFatalError in cdxerror.h). A null screen gives a box without owner.
#ifdef __MINGW32__
// MinGW's formatting follows C99 in C++ (__USE_MINGW_ANSI_STDIO): its own name for that format
// keeps GCC from checking the arguments against Microsoft's older one.
void FatalError(CDXScreen* screen, const char* format, ...)
    __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));
#else
void FatalError(CDXScreen* screen, const char* format, ...) __attribute__((format(printf, 2, 3)));
#endif

}  // namespace cdx
