// Shows a known picture through the SDL host for the smoke test: a red 640 x 480 frame with a
// white border, flipped for the number of frames given, then prints how long that took. With a
// text, it is drawn in the script face at height 20 as the instruction screen does; with
// "input", the mouse and keyboard are read each frame and what they gave is printed.

#include <cstdio>
#include <cstdlib>

#include <cstring>

#include "cdxinput.h"
#include "cdxscreen.h"
#include "clock.h"
#include "sdl_host.h"
#include "window.h"

namespace {

platform::LRESULT ProbeProc(platform::HWND window, platform::UINT message, platform::WPARAM wParam,
                            platform::LPARAM lParam) {
    return platform::DefWindowProc(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 120;
    const char* text = argc > 2 ? argv[2] : nullptr;
    const bool readInput = text != nullptr && std::strcmp(text, "input") == 0;
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

    CDXInput input;
    if (readInput && input.Create(nullptr, window, 1) == 0) {
        std::fprintf(stderr, "sdl_probe: the input devices could not be acquired\n");
        return 1;
    }
    bool leftButtonSeen = false;
    bool escapeSeen = false;
    const std::uint32_t start = platform::timeGetTime();
    for (int frame = 0; frame < frames; ++frame) {
        platform::MSG message;
        while (platform::PeekMessage(&message, nullptr, 0, 0, platform::PM_REMOVE)) {
            platform::DispatchMessage(&message);
        }
        screen.Back->Fill(0xFFFF);
        screen.Back->FillRect(4, 4, 636, 476, 0xF800);
        if (readInput) {
            input.Update();
            leftButtonSeen = leftButtonSeen || input.GetKeyState(256) != 0;
            escapeSeen = escapeSeen || input.GetKeyState(27) != 0;
        } else if (text != nullptr && screen.Back->GetDC() != nullptr) {
            screen.Back->MakeFont("Script", 0, 20, 700);
            screen.Back->SelectFont();
            screen.Back->DrawString(10, 190, 0xFFFFFF, text);
            screen.Back->ReleaseDC();
        }
        screen.Flip(1, 1, 0);
    }
    if (readInput) {
        std::int32_t x = 0, y = 0;
        input.GetMousePos(&x, &y);
        std::printf("mouse %d %d, left button %s, escape %s\n", x, y,
                    leftButtonSeen ? "seen" : "not seen", escapeSeen ? "seen" : "not seen");
    }
    std::printf("%d frames in %u ms\n", frames, platform::timeGetTime() - start);
    return 0;
}
