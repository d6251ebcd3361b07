// SPDX-License-Identifier: MIT
#include "cdx/surface/cdxscreen.h"

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "cdx/error/cdxerror.h"
#include "platform/host/clock.h"
#include "platform/host/window.h"

using namespace platform;

namespace cdx {

namespace {

// The places in this module that report a display object that could not be made.
constexpr int kLineDisplayObject = 217;

// Fatal messages are formatted into 1024 bytes; a longer one is cut there.
constexpr std::size_t kFatalMessageSize = 1024;

}  // namespace

std::shared_ptr<DisplayPalette> LoadDefaultPalette(DisplayDevice& display) {
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i) {
        entries[i].peRed = static_cast<std::uint8_t>(((i >> 5) & 7) * 255 / 7);
        entries[i].peGreen = static_cast<std::uint8_t>(((i >> 2) & 7) * 255 / 7);
        entries[i].peBlue = static_cast<std::uint8_t>((i & 3) * 255 / 3);
        entries[i].peFlags = 0;
    }
    std::shared_ptr<DisplayPalette> palette;
    if (display.CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette) != DD_OK) {
        return nullptr;
    }
    return palette;
}

const PALETTEENTRY* ScreenPalette(const CDXScreen* screen) {
    if (screen == nullptr || !screen->Palette) return nullptr;
    return screen->Palette->Entries();
}

void FatalError(CDXScreen* screen, const char* format, ...) {
    char text[kFatalMessageSize];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);

    HWND owner = nullptr;
    if (screen != nullptr) {
        if (screen->DirectDraw) screen->DirectDraw->FlipToGDISurface();
        owner = screen->Wnd;
    }
    ReportFatalError(owner, text);
}

CDXScreen::CDXScreen() {
    LastTime = timeGetTime();
    const HRESULT result = DirectDrawCreate(nullptr, &DirectDraw);
    if (result != DD_OK) {
        DirectDraw.reset();
        ReportDirectDrawError(result, nullptr, "cdxscreen", kLineDisplayObject);
        return;
    }
    // This display service hands out its one interface directly, so the interface query that
    // followed the creation cannot fail here.
    EnumerateDevices();
    EnumerateModes();
}

CDXScreen::~CDXScreen() {
    ModeList.clear();
    DeviceList.clear();
    if (DirectDraw) DirectDraw->RestoreDisplayMode();
    DeleteBuffers();
    Palette.reset();
    DirectDraw.reset();
}

void CDXScreen::DeleteBuffers() {
    delete Back;
    Back = nullptr;
    delete Front;
    Front = nullptr;
}

void CDXScreen::EnumerateDevices() {
    DeviceCount = 0;
    DeviceList.clear();
    auto addDevice = [](GUID* guid, const char* description, const char* driverName, void* context,
                        void* monitor) -> BOOL {
        auto* screen = static_cast<CDXScreen*>(context);
        std::shared_ptr<DisplayDevice> device;
        if (DirectDrawCreate(guid, &device) != DD_OK) return 1;
        CDXDisplayDevice node;
        const HRESULT caps = device->GetCaps(&node.DriverCaps, &node.EmulationCaps);
        device.reset();
        if (caps != DD_OK) return 1;
        if (guid != nullptr) node.GuidCopy = *guid;
        std::strncpy(node.DriverName, driverName, sizeof(node.DriverName) - 1);
        std::strncpy(node.Description, description, sizeof(node.Description) - 1);
        node.Monitor = monitor;
        screen->DeviceList.push_back(node);
        return 1;
    };
    if (DirectDrawEnumerateEx(
            addDevice, this, DDENUM_ATTACHEDSECONDARYDEVICES | DDENUM_NONDISPLAYDEVICES) != DD_OK) {
        DeviceList.clear();
    }
    // Each node's GUID pointer points at its own copy, once the list no longer moves.
    const GUID noGuid;
    for (CDXDisplayDevice& node : DeviceList) {
        const bool hasGuid = std::memcmp(&node.GuidCopy, &noGuid, sizeof(GUID)) != 0;
        node.Guid = hasGuid ? &node.GuidCopy : nullptr;
    }
    DeviceCount = static_cast<std::int32_t>(DeviceList.size());
}

void CDXScreen::EnumerateModes() {
    ModeCount = 0;
    ModeList.clear();
    auto addMode = [](DDSURFACEDESC2* mode, void* context) -> HRESULT {
        auto* screen = static_cast<CDXScreen*>(context);
        screen->ModeList.push_back(CDXDisplayMode{
            static_cast<std::int32_t>(mode->dwWidth), static_cast<std::int32_t>(mode->dwHeight),
            static_cast<std::int32_t>(mode->ddpfPixelFormat.dwRGBBitCount)});
        return DDENUMRET_OK;
    };
    DirectDraw->EnumDisplayModes(DDEDM_STANDARDVGAMODES, nullptr, this, addMode);
    ModeCount = static_cast<std::int32_t>(ModeList.size());
}

int CDXScreen::CheckMode(std::int32_t width, std::int32_t height, std::int32_t bpp) const {
    for (const CDXDisplayMode& mode : ModeList) {
        if (mode.Width == width && mode.Height == height && mode.BPP == bpp) return 1;
    }
    return 0;
}

int CDXScreen::CreateFullScreen(HWND window, std::int32_t width, std::int32_t height,
                                std::int32_t bpp, std::int32_t vgaMode) {
    if (!DirectDraw) return 0;
    DeleteBuffers();
    Palette.reset();
    Width = width;
    Height = height;
    BPP = bpp;
    Wnd = window;
    FullScreen = 1;

    if (DirectDraw->SetCooperativeLevel(
            window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_ALLOWREBOOT | DDSCL_ALLOWMODEX) !=
        DD_OK) {
        return 0;
    }
    if (DirectDraw->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                                   static_cast<DWORD>(bpp), 0,
                                   vgaMode != 0 ? DDSDM_STANDARDVGAMODE : 0) != DD_OK) {
        return 0;
    }
    Front = new CDXSurface();
    Back = new CDXSurface();

    DDSURFACEDESC2 desc;
    desc.dwSize = kSurfaceDescSize;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    const DWORD chainCaps =
        DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
    desc.ddsCaps.dwCaps = chainCaps | (VideoMemory ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY);

    HRESULT result = DDERR_GENERIC;
    if (TripleBuffer == 1) {
        desc.dwBackBufferCount = 2;
        result = DirectDraw->CreateSurface(&desc, &Front->Surface);
        if (result != DD_OK) TripleBuffer = 0;
    }
    if (result != DD_OK) {
        desc.dwBackBufferCount = 1;
        result = DirectDraw->CreateSurface(&desc, &Front->Surface);
        if (result != DD_OK) {
            if (VideoMemory != 1) return 0;
            desc.ddsCaps.dwCaps = chainCaps | DDSCAPS_SYSTEMMEMORY;
            if (DirectDraw->CreateSurface(&desc, &Front->Surface) != DD_OK) return 0;
        }
    }
    DDSCAPS2 backCaps;
    backCaps.dwCaps = DDSCAPS_BACKBUFFER;
    if (Front->Surface->GetAttachedSurface(&backCaps, &Back->Surface) != DD_OK) return 0;

    for (CDXSurface* buffer : {Front, Back}) {
        buffer->PixelWidth = Width;
        buffer->PixelHeight = Height;
        buffer->DestRect = RECT{0, 0, Width, Height};
        buffer->SrcRect = buffer->DestRect;
        buffer->Screen = this;
        buffer->SetClipRect(buffer->SrcRect);
        buffer->UpdatePixelFormat();
    }

    Palette = LoadDefaultPalette(*DirectDraw);
    Front->Surface->SetPalette(Palette);
    return 1;
}

void CDXScreen::CountFrame(std::uint32_t now) {
    FrameTime += now - LastTime;
    LastTime = now;
    if (FrameTime > 1000) {
        FPS = static_cast<std::int32_t>(static_cast<double>(FrameCount) / FrameTime * 1000.0);
        FrameTime = 0;
        FrameCount = 0;
    }
    FrameCount += 1;
}

HRESULT CDXScreen::Flip(std::int32_t waitVB, std::int32_t fullStretch, std::int32_t showFPS) {
    CountFrame(timeGetTime());
    if (!DirectDraw || Front == nullptr || Back == nullptr || !Front->Surface || !Back->Surface) {
        return DDERR_NOTINITIALIZED;
    }
    if (showFPS) {
        char text[32];
        std::snprintf(text, sizeof(text), "FPS = %d", FPS);
        if (Back->GetDC() != nullptr) {
            Back->DrawString(10, 20, 0x00FFF0, text);
            Back->ReleaseDC();
        }
    }
    HRESULT result;
    if (FullScreen) {
        result = Front->Surface->Flip(nullptr, waitVB == 1 ? DDFLIP_WAIT : DDFLIP_NOVSYNC);
    } else {
        RECT client;
        GetClientRect(Wnd, &client);
        POINT corner{0, 0};
        ClientToScreen(Wnd, &corner);
        OffsetRect(&client, corner.x, corner.y);
        if (waitVB == 1) WaitVBlank();
        if (fullStretch) {
            result =
                Front->Surface->Blt(&client, Back->Surface.get(), nullptr, DDBLT_WAIT, nullptr);
        } else {
            RECT part{0, 0, client.right - client.left, client.bottom - client.top};
            result = Front->Surface->Blt(&client, Back->Surface.get(), &part, DDBLT_WAIT, nullptr);
        }
    }
    if (result == DDERR_SURFACELOST) RestoreAll();
    return result;
}

void CDXScreen::RestoreAll() {
    for (CDXSurface* buffer : {Front, Back}) {
        if (buffer != nullptr && buffer->Surface &&
            buffer->Surface->IsLost() == DDERR_SURFACELOST) {
            buffer->Surface->Restore();
        }
        // In full screen the back buffer is attached to the front one and comes back with it.
        if (FullScreen) break;
    }
}

HRESULT CDXScreen::SetPaletteEntries(std::int32_t first, std::int32_t count,
                                     const PALETTEENTRY* entries) {
    if (!Palette) return DDERR_NOPALETTEATTACHED;
    if (first < 0 || count < 0) return DDERR_INVALIDPARAMS;
    return Palette->SetEntries(0, static_cast<DWORD>(first), static_cast<DWORD>(count), entries);
}

HRESULT CDXScreen::WaitVBlank() {
    if (!DirectDraw) return DDERR_NOTINITIALIZED;
    return DirectDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
}

}  // namespace cdx
