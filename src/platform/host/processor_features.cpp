// SPDX-License-Identifier: MIT
#include "platform/host/processor_features.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

constexpr const char* kLevelVariable = "ZELTO_CPU_FEATURES";

ProcessorLevel AskProcessor() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
        __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("avx2")) {
        return ProcessorLevel::kAvx512;
    }
    if (__builtin_cpu_supports("avx2")) return ProcessorLevel::kAvx2;
#endif
    return ProcessorLevel::kSse2;
}

// The processor's level under the environment's cap, read once.
ProcessorLevel EnvironmentLevel() {
    static const ProcessorLevel level = [] {
        const ProcessorLevel offered = ProcessorLevelOffered();
        const char* asked = std::getenv(kLevelVariable);
        if (asked == nullptr || asked[0] == '\0') return offered;
        const std::optional<ProcessorLevel> cap = ParseProcessorLevel(asked);
        if (!cap) {
            std::fprintf(stderr, "zelto: %s='%s' is not one of sse2, avx2, avx512: ignored\n",
                         kLevelVariable, asked);
            return offered;
        }
        return std::min(*cap, offered);
    }();
    return level;
}

// The program's own cap; the highest level when there is none.
std::atomic<ProcessorLevel> programCap{ProcessorLevel::kAvx512};

}  // namespace

ProcessorLevel ProcessorLevelOffered() {
    static const ProcessorLevel offered = AskProcessor();
    return offered;
}

namespace processor_detail {

std::atomic<int> levelInUse{-1};

ProcessorLevel FindLevelInUse() {
    const ProcessorLevel level =
        std::min(EnvironmentLevel(), programCap.load(std::memory_order_relaxed));
    levelInUse.store(static_cast<int>(level), std::memory_order_relaxed);
    return level;
}

}  // namespace processor_detail

void CapProcessorLevel(std::optional<ProcessorLevel> level) {
    programCap.store(level.value_or(ProcessorLevel::kAvx512), std::memory_order_relaxed);
    processor_detail::FindLevelInUse();
}

const char* ProcessorLevelName(ProcessorLevel level) {
    switch (level) {
        case ProcessorLevel::kSse2:
            return "sse2";
        case ProcessorLevel::kAvx2:
            return "avx2";
        case ProcessorLevel::kAvx512:
            return "avx512";
    }
    return "sse2";
}

std::optional<ProcessorLevel> ParseProcessorLevel(std::string_view name) {
    for (const ProcessorLevel level :
         {ProcessorLevel::kSse2, ProcessorLevel::kAvx2, ProcessorLevel::kAvx512}) {
        if (name == ProcessorLevelName(level)) return level;
    }
    return std::nullopt;
}

}  // namespace platform
