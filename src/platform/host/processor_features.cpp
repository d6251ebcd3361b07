#include "processor_features.h"

namespace platform {

bool ProcessorHasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
#else
    return false;
#endif
}

bool ProcessorHasAvx512MaskedMoves() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
               __builtin_cpu_supports("bmi2");
    }();
    return has;
#else
    return false;
#endif
}

}  // namespace platform
