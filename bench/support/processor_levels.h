// SPDX-License-Identifier: MIT
#pragma once

// The benchmarks' runs at every processor level this machine offers: one machine measures what
// each processor gets (see processor_features.h). The environment variable ZELTO_CPU_FEATURES
// still caps the levels run.

namespace bench {

// Runs the benchmarks the command line selected once per level, from the machine's own down to
// SSE2, on the console; each row's name ends in @sse2, @avx2 or @avx512. After
// benchmark::Initialize.
void RunAtEveryProcessorLevel();

}  // namespace bench
