// SPDX-License-Identifier: MIT
#pragma once

// On Windows, what asks a console program to end: the console's close, Ctrl+C and Ctrl+Break.
// Windows calls the handler on a thread of its own, so the handler touches lock-free atomics
// alone, as a POSIX signal handler does. After a console's close the system ends the process
// a few seconds later whatever the handler does: the handler waits there for the game to end
// in its own time. Built on Windows alone.

#include <atomic>

namespace platform {

// Counts each request in `requests`, or ends the process at once with `boxExitCode` while
// `boxShown` holds. The atomics must outlive the handler's taking.
void TakeConsoleEndRequests(std::atomic<int>& requests, std::atomic<bool>& boxShown,
                            int boxExitCode);
// Takes the handler away again.
void GiveBackConsoleEndRequests();

}  // namespace platform
