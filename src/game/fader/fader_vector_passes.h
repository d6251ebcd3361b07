// SPDX-License-Identifier: MIT
#pragma once

// The fader's passes over rows of 15- and 16-bit pixels in vector steps: eight pixels with
// SSE2, sixteen with AVX2 where the processor has it. Each channel is scaled by arithmetic,
// not looked up: a level's brightness table for a channel of value c is floor(c x m / 65536)
// for one multiplier m per level and channel, found when the tables are built, and the
// multiply works on the channel's field where it sits in the pixel.

#include <cstddef>
#include <cstdint>

namespace zelto {

// A locked picture of 16-bit pixels: its first pixel and the bytes from one row to the next.
struct FaderPicture {
    std::uint8_t* pixels = nullptr;
    std::ptrdiff_t pitch = 0;
};

// The channel fields of the pixel layout, each a run of bits in place: blue from bit 0, green
// above it, red from above green up to bit 15.
struct FaderFields {
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;
};

// One brightness level as the vector steps apply it. A field f of a pixel becomes
// (high 16 bits of f x fraction) & field, plus f itself where the field's multiplier is
// 65536 + fraction (the level that keeps the channel); the fraction of such a field is 0.
struct FaderLaneLevel {
    std::uint16_t redFraction = 0;
    std::uint16_t greenFraction = 0;
    std::uint16_t blueFraction = 0;
    std::uint16_t keptFields = 0;
};

// How the passes walk a row: pixel by pixel through the channel tables, or in vector steps
// with the row's last few pixels through the tables.
enum class FaderSteps { Plain, Sse2, Avx2 };

bool FaderAvx2StepsAvailable();

// Each of the `rows` rows of work becomes source's row at `level`, in whole vector steps from
// the first column; returns how many of `columns` columns were done (the rest are the
// caller's). Plain steps do none.
int DarkenRows(FaderSteps steps, const FaderFields& fields, const FaderLaneLevel& level,
               FaderPicture source, FaderPicture work, int columns, int rows);

// Each pixel of work becomes newer's at newerLevel plus older's at olderLevel (a 16-bit sum),
// in whole vector steps; returns the columns done as DarkenRows does.
int MixRows(FaderSteps steps, const FaderFields& fields, const FaderLaneLevel& newerLevel,
            const FaderLaneLevel& olderLevel, FaderPicture older, FaderPicture newer,
            FaderPicture work, int columns, int rows);

}  // namespace zelto
