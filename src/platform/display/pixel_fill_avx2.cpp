// SPDX-License-Identifier: MIT
// The fill's walk in 32-byte stores. This file alone is built with the processor's AVX2
// instructions allowed; pixel_fill.cpp calls it only at that level.

#include "platform/display/pixel_fill_walk.h"

namespace platform {

void FillRunAvx2(const FillRun& run) {
    FillRunWith<Avx2Lanes>(run);
}

}  // namespace platform
