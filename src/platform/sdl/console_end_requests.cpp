// SPDX-License-Identifier: MIT
#include "platform/sdl/console_end_requests.h"

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

}  // namespace

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
