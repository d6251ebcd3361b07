#pragma once

// What the processor offers beyond the x86-64 baseline (SSE2), asked once per process. The
// pixel walks built for wider steps are chosen at run time by these answers, wherever the
// build compiled those walks at all.

namespace platform {

bool ProcessorHasAvx2();
// AVX-512 with byte and word lanes and their 128- and 256-bit forms, and BMI2: what the masked
// moves of the keyed copies and blends use.
bool ProcessorHasAvx512MaskedMoves();

}  // namespace platform
