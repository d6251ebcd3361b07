#pragma once

// Clocks and processor identification.

#include <cstdint>

#include "win_types.h"

namespace platform {

BOOL QueryPerformanceCounter(std::int64_t* count);
BOOL QueryPerformanceFrequency(std::int64_t* frequency);
// Milliseconds since the host started; wraps after about 49 days like the old system clock.
DWORD timeGetTime();
DWORD GetTickCount();
// Seconds since 1970, what the C library's time(NULL) gives; the game seeds its generator with it.
std::int64_t TimeOfDay();

// Processor family as the old system information reported it (386, 486, 586 for anything newer).
inline constexpr DWORD PROCESSOR_INTEL_386 = 386;
inline constexpr DWORD PROCESSOR_INTEL_486 = 486;
inline constexpr DWORD PROCESSOR_INTEL_PENTIUM = 586;
DWORD ProcessorType();
// The standard feature flags (EDX of identification function 1), or 0 where the processor has
// no identification instruction.
std::uint32_t ProcessorFeatureFlags();

}  // namespace platform
