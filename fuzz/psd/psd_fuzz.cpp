// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the PSD reader. A picture that comes back must be whole: its
// working buffer exactly width x height pixels, every byte of it readable.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "cdx/image/cdxpsd.h"

using namespace cdx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto picture = DecodePsd(data, size);
    if (!picture) return 0;
    const auto& pixels = picture->pixels;
    if (pixels.width < 1 || pixels.height < 1 ||
        pixels.pixels.size() != static_cast<std::size_t>(pixels.width) * pixels.height * 4) {
        std::abort();
    }
    // Touching every byte lets the address sanitizer check the whole buffer.
    volatile unsigned sum = 0;
    for (std::uint8_t byte : pixels.pixels) sum = sum + byte;
    return 0;
}
