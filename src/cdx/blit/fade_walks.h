// SPDX-License-Identifier: MIT
#pragma once

// The screen fader's pixel work as plain functions over rectangles of 15- and 16-bit pixels in
// memory: every channel of a pixel scaled by one brightness level, given as a multiplier m, a
// channel of value c becoming floor(c x m / 65536). The walks take the widest steps the
// processor level in use allows (see processor_features.h): sixteen pixels with AVX2, eight
// with SSE2; a row's last few pixels go one by one through the same arithmetic, so every
// width gives the same pixels. Nothing here checks rectangles: the callers pass rows they hold.

#include <cstddef>
#include <cstdint>

namespace cdx {

// A picture of 16-bit pixels: its first pixel and the bytes from one row to the next.
struct FadePicture {
    std::uint8_t* pixels = nullptr;
    std::ptrdiff_t pitch = 0;
};

// Where a pixel's channels sit. Red is every bit from redShift up (at 5-5-5 it takes bit 15
// along), green the run of bits greenMask, blue the run of bits blueMask from bit 0; the
// three do not overlap.
struct FadeFields {
    int redShift = 0;
    std::uint16_t greenMask = 0;
    std::uint16_t blueMask = 0;
};

// The multiplier that keeps a channel as it is; a larger one acts as this.
constexpr std::uint32_t kFadeUnit = 65536;

// One channel's value at a level, as the walks scale it.
constexpr std::uint32_t FadeChannel(std::uint32_t value, std::uint32_t multiplier) {
    return value * multiplier / kFadeUnit;
}

// Each of the `rows` rows of `columns` pixels of work becomes source's row at the level.
void DarkenPixels(const FadeFields& fields, std::uint32_t multiplier, FadePicture source,
                  FadePicture work, int columns, int rows);

// Each pixel of work becomes newer's at newerMultiplier plus older's at olderMultiplier, a
// 16-bit sum of the two scaled pixels.
void MixPixels(const FadeFields& fields, std::uint32_t newerMultiplier,
               std::uint32_t olderMultiplier, FadePicture older, FadePicture newer,
               FadePicture work, int columns, int rows);

}  // namespace cdx
