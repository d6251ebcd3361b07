#include "clock.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include "host.h"

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

DWORD timeGetTime() { return CurrentHost().Milliseconds(); }

DWORD GetTickCount() { return CurrentHost().Milliseconds(); }

std::int64_t TimeOfDay() { return CurrentHost().SecondsSinceEpoch(); }

DWORD ProcessorType() {
#if defined(__x86_64__) || defined(__i386__)
    return PROCESSOR_INTEL_PENTIUM;
#else
    return 0;
#endif
}

std::uint32_t ProcessorFeatureFlags() {
#if defined(__x86_64__) || defined(__i386__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) return 0;
    return edx;
#else
    return 0;
#endif
}

}  // namespace platform
