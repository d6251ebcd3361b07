// SPDX-License-Identifier: MIT
#include "platform/host/clock.h"

#include "platform/host/host.h"

namespace platform {

BOOL QueryPerformanceCounter(std::int64_t* count) {
    if (count == nullptr) return 0;
    *count = CurrentHost().PerformanceCounter();
    return 1;
}

BOOL QueryPerformanceFrequency(std::int64_t* frequency) {
    if (frequency == nullptr) return 0;
    *frequency = CurrentHost().PerformanceFrequency();
    return *frequency != 0 ? 1 : 0;
}

DWORD timeGetTime() {
    return CurrentHost().Milliseconds();
}

DWORD GetTickCount() {
    return CurrentHost().Milliseconds();
}

std::int64_t TimeOfDay() {
    return CurrentHost().SecondsSinceEpoch();
}

}  // namespace platform
