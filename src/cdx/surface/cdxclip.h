// SPDX-License-Identifier: MIT
#pragma once

// Rectangle clipping in 64 bits, so that a position plus a size never overflows before the
// clip rectangle brings it back into the 32-bit range.

#include <cstdint>

#include "win_types.h"

namespace cdx {

struct Rect64 {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
};

// Rejects rect (false, untouched) when it lies wholly outside clip, tested top, left, bottom,
// right; otherwise cuts each edge down to clip. An empty or inverted rect that overlaps clip
// comes back empty or inverted.
bool ClipRect64(Rect64& rect, const platform::RECT& clip);

}  // namespace cdx
