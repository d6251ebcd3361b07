// SPDX-License-Identifier: MIT
#pragma once

// Clocks and processor identification.

#include <cstdint>

#include "platform/host/win_types.h"

namespace platform {

BOOL QueryPerformanceCounter(std::int64_t* count);
BOOL QueryPerformanceFrequency(std::int64_t* frequency);
// Milliseconds since the host started, in 32 bits: it wraps after about 49 days.
DWORD timeGetTime();
DWORD GetTickCount();
// Seconds since 1970, what the C library's time(NULL) gives; the game seeds its generator with it.
std::int64_t TimeOfDay();

}  // namespace platform
