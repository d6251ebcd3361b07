// SPDX-License-Identifier: MIT
#pragma once

// What the processor offers beyond the x86-64 baseline (SSE2), asked once per process, as three
// levels: the pixel walks built for wider steps are chosen at run time by the level in use,
// wherever the build compiled those walks at all.
//
// The level in use is the processor's, capped by the environment variable ZELTO_CPU_FEATURES
// (sse2, avx2 or avx512) and by CapProcessorLevel: so one machine runs, tests and measures the
// walks every lesser processor gets. A cap never claims more than the processor has. An unknown
// value of the variable is refused with one line on the error stream and ignored.

#include <atomic>
#include <optional>
#include <string_view>

namespace platform {

enum class ProcessorLevel {
    kSse2,    // the x86-64 baseline
    kAvx2,    // 256-bit integer steps
    kAvx512,  // AVX-512 with byte and word lanes in 128- and 256-bit forms, and BMI2: what the
              // masked moves of the keyed copies and blends use
};

// What the processor itself offers.
ProcessorLevel ProcessorLevelOffered();

namespace processor_detail {
// The level in use as found last, or -1 before it is first asked for: kept ready for the
// walks, which ask at every draw.
extern std::atomic<int> levelInUse;
ProcessorLevel FindLevelInUse();
}  // namespace processor_detail

// What the pixel walks may use now.
inline ProcessorLevel ProcessorLevelInUse() {
    const int known = processor_detail::levelInUse.load(std::memory_order_relaxed);
    return known >= 0 ? static_cast<ProcessorLevel>(known) : processor_detail::FindLevelInUse();
}
// Caps the level in use from now on, under the environment's cap (nothing: the environment's
// cap alone). For tests and benchmarks that compare the levels in one process, called while
// no other thread draws.
void CapProcessorLevel(std::optional<ProcessorLevel> level);

// "sse2", "avx2", "avx512", and back; nothing for any other text.
const char* ProcessorLevelName(ProcessorLevel level);
std::optional<ProcessorLevel> ParseProcessorLevel(std::string_view name);

}  // namespace platform
