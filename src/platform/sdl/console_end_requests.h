// SPDX-License-Identifier: MIT
#pragma once

// On Windows, what asks a console program to end: the console's close, Ctrl+C and Ctrl+Break,
// and the session's end (a logoff or a shutdown), which comes to the game's window.
// Windows calls the handler on a thread of its own, so the handler touches lock-free atomics
// alone, as a POSIX signal handler does. After a console's close the system ends the process
// a few seconds later whatever the handler does: the handler waits there for the game to end
// in its own time. Built on Windows alone.

#include <atomic>

struct SDL_Window;

namespace platform {

// Counts each request in `requests`, or ends the process at once with `boxExitCode` while
// `boxShown` holds. The atomics must outlive the handler's taking.
void TakeConsoleEndRequests(std::atomic<int>& requests, std::atomic<bool>& boxShown,
                            int boxExitCode);
// Counts a session's end that the window is asked about as a request too (the window's own
// procedure, SDL's, answers everything else).
void WatchSessionEndOn(SDL_Window* window);
// Takes the handler away again.
void GiveBackConsoleEndRequests();

}  // namespace platform
