// SPDX-License-Identifier: MIT
// Drives the SDL host for the smoke test, in one of two ways:
//   sdl_probe pace FRAMES   shows a red 640 x 480 frame with a white border, times FRAMES flips
//                           after the first and prints "FRAMES frames in MS ms", then goes on
//                           showing the frame until it is asked to close;
//   sdl_probe input         prints "ready" once its input is acquired, then reads the mouse and
//                           the keyboard every frame until the left button is seen, and prints
//                           the mouse position.
// Each line is flushed at once: the test reads them while the probe runs.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cdx/input/cdxinput.h"
#include "cdx/surface/cdxscreen.h"
#include "platform/host/clock.h"
#include "platform/host/window.h"
#include "platform/sdl/sdl_host.h"

using namespace cdx;

namespace {

constexpr std::uint32_t kLeftMouseButton = 256;

bool closeRequested = false;

platform::LRESULT ProbeProc(platform::HWND window, platform::UINT message, platform::WPARAM wParam,
                            platform::LPARAM lParam) {
    if (message == platform::WM_CLOSE) {
        closeRequested = true;
        return 0;
    }
    return platform::DefWindowProc(window, message, wParam, lParam);
}

void HandleMessages() {
    platform::MSG message;
    while (platform::PeekMessage(&message, nullptr, 0, 0, platform::PM_REMOVE)) {
        platform::DispatchMessage(&message);
    }
}

void ShowRedFrame(CDXScreen& screen) {
    HandleMessages();
    screen.Back->Fill(0xFFFF);
    screen.Back->FillRect(4, 4, 636, 476, 0xF800);
    screen.Flip(1, 1, 0);
}

int MeasurePace(CDXScreen& screen, int frames) {
    // The first flip starts the count, so the frames timed are whole blank periods.
    ShowRedFrame(screen);
    const std::uint32_t start = platform::timeGetTime();
    for (int frame = 0; frame < frames; ++frame) ShowRedFrame(screen);
    std::printf("%d frames in %u ms\n", frames, platform::timeGetTime() - start);
    std::fflush(stdout);
    while (!closeRequested) ShowRedFrame(screen);
    return 0;
}

int ReadInput(CDXScreen& screen, platform::HWND window) {
    CDXInput input;
    if (input.Create(nullptr, window, 1) == 0) {
        std::fprintf(stderr, "sdl_probe: the input devices could not be acquired\n");
        return 1;
    }
    input.Update();
    std::puts("ready");
    std::fflush(stdout);
    while (!closeRequested) {
        ShowRedFrame(screen);
        input.Update();
        if (input.GetKeyState(kLeftMouseButton) != 0) {
            std::int32_t x = 0;
            std::int32_t y = 0;
            input.GetMousePos(&x, &y);
            std::printf("mouse %d %d, left button seen\n", x, y);
            return 0;
        }
    }
    std::puts("closed before the left button was seen");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const bool pace = argc == 3 && std::strcmp(argv[1], "pace") == 0;
    const bool input = argc == 2 && std::strcmp(argv[1], "input") == 0;
    if (!pace && !input) {
        std::fprintf(stderr, "usage: sdl_probe pace FRAMES | sdl_probe input\n");
        return 2;
    }
    platform::SdlHost host;
    if (!host.Ready()) {
        std::fprintf(stderr, "sdl_probe: %s\n", host.StartError());
        return 1;
    }
    platform::SetHost(&host);
    platform::WNDCLASS windowClass;
    windowClass.lpfnWndProc = ProbeProc;
    windowClass.lpszClassName = "Probe";
    platform::RegisterClass(&windowClass);
    platform::HWND window = platform::CreateWindowEx(0, "Probe", "probe", platform::WS_POPUP, 0, 0,
                                                     640, 480, nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr) return 1;
    platform::ShowWindow(window, platform::SW_SHOWNORMAL);
    CDXScreen screen;
    if (screen.CreateFullScreen(window, 640, 480, 16, 0) == 0) return 1;
    return pace ? MeasurePace(screen, std::atoi(argv[2])) : ReadInput(screen, window);
}
