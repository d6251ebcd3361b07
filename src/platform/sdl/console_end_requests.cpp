// SPDX-License-Identifier: MIT
#include "platform/sdl/console_end_requests.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <windows.h>

#include <cstdlib>

namespace platform {
namespace {

std::atomic<std::atomic<int>*> endRequests{nullptr};
std::atomic<std::atomic<bool>*> boxShownNow{nullptr};
std::atomic<int> exitCodeOfAnEndedBox{1};

BOOL WINAPI NoteEndRequest(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    std::atomic<int>* requests = endRequests.load();
    std::atomic<bool>* boxShown = boxShownNow.load();
    if (requests == nullptr || boxShown == nullptr) return FALSE;
    if (boxShown->load()) std::_Exit(exitCodeOfAnEndedBox.load());
    requests->fetch_add(1);
    // After a close the system ends the process as soon as this returns: the game's own end,
    // which leaves through exit, comes first.
    if (event == CTRL_CLOSE_EVENT) Sleep(INFINITE);
    return TRUE;
}

WNDPROC windowProcedureOfSdl = nullptr;

// A logoff or a shutdown asks a program that has windows through its windows, not through the
// console's handler. The game is not ready to end at once: the request is counted, and the
// answer "not yet" keeps the session open while the game ends on its own, within a second, as
// after SIGTERM; Windows then goes on ending the session.
LRESULT CALLBACK WatchSessionEnd(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION) {
        if (std::atomic<int>* requests = endRequests.load()) {
            requests->fetch_add(1);
            return FALSE;
        }
    }
    return CallWindowProcW(windowProcedureOfSdl, window, message, wParam, lParam);
}

}  // namespace

void WatchSessionEndOn(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WINDOWS) return;
    const LONG_PTR previous = SetWindowLongPtrW(info.info.win.window, GWLP_WNDPROC,
                                                reinterpret_cast<LONG_PTR>(WatchSessionEnd));
    if (previous != 0) windowProcedureOfSdl = reinterpret_cast<WNDPROC>(previous);
}

void TakeConsoleEndRequests(std::atomic<int>& requests, std::atomic<bool>& boxShown,
                            int boxExitCode) {
    exitCodeOfAnEndedBox.store(boxExitCode);
    boxShownNow.store(&boxShown);
    endRequests.store(&requests);
    SetConsoleCtrlHandler(NoteEndRequest, TRUE);
}

void GiveBackConsoleEndRequests() {
    SetConsoleCtrlHandler(NoteEndRequest, FALSE);
    endRequests.store(nullptr);
    boxShownNow.store(nullptr);
}

}  // namespace platform
