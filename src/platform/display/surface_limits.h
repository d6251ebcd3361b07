// SPDX-License-Identifier: MIT
#pragma once

// How large a surface the display service makes: a side above this is refused, and every reader
// of pictures refuses such a picture before it makes one. The limit keeps the engine's 32-bit
// rectangle arithmetic and a surface's byte count far from overflowing.

namespace platform {

constexpr int kLargestSurfaceSide = 16384;

}  // namespace platform
