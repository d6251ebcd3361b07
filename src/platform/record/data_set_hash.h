// SPDX-License-Identifier: MIT
#pragma once

// The 64-bit hash (XXH3) of a data set: the names and contents of the pictures, sounds and maps
// (files ending in .bmp, .wav or .fmp, in any case) of a folder, in the order of their names. A
// recording keeps it, so that a replay over other data is refused rather than misread.

#include <cstdint>
#include <string>

namespace platform {

std::uint64_t DataSetHash(const std::string& folder);

}  // namespace platform
