// SPDX-License-Identifier: MIT
#pragma once

// The fader's vector passes written once over a "lanes" type that says how wide a step is and
// how its instructions are spelt. fader_vector_passes.cpp compiles them with eight-pixel SSE2
// lanes, fader_vector_passes_avx2.cpp again with AVX2 allowed for sixteen-pixel steps. All
// but the entry points sits in an unnamed namespace, so that each of the two files keeps its
// own copy built for its own instruction set and the linker never hands one to the other.

#include <emmintrin.h>

#include "fader_vector_passes.h"

namespace zelto {

// The row walks of the AVX2 file; they exist only in builds that compile it.
int DarkenRowsAvx2(const FaderFields& fields, const FaderLaneLevel& level, FaderPicture source,
                   FaderPicture work, int columns, int rows);
int MixRowsAvx2(const FaderFields& fields, const FaderLaneLevel& newerLevel,
                const FaderLaneLevel& olderLevel, FaderPicture older, FaderPicture newer,
                FaderPicture work, int columns, int rows);

namespace {

struct Sse2Lanes {
    using Reg = __m128i;
    static constexpr int kPixels = 8;
    static Reg Splat(std::uint16_t value) { return _mm_set1_epi16(static_cast<short>(value)); }
    static Reg Load(const std::uint8_t* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    }
    static void Store(std::uint8_t* at, Reg value) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), value);
    }
    static Reg And(Reg a, Reg b) { return _mm_and_si128(a, b); }
    static Reg Or(Reg a, Reg b) { return _mm_or_si128(a, b); }
    static Reg Add(Reg a, Reg b) { return _mm_add_epi16(a, b); }
    static Reg MulHigh(Reg a, Reg b) { return _mm_mulhi_epu16(a, b); }
};

// One level applied to a vector of pixels, each channel scaled in its own field.
template <class V>
class LevelLanes {
public:
    LevelLanes(const FaderFields& fields, const FaderLaneLevel& level)
        : red_(V::Splat(fields.red)),
          green_(V::Splat(fields.green)),
          blue_(V::Splat(fields.blue)),
          redFraction_(V::Splat(level.redFraction)),
          greenFraction_(V::Splat(level.greenFraction)),
          blueFraction_(V::Splat(level.blueFraction)),
          kept_(V::Splat(level.keptFields)) {}

    typename V::Reg Apply(typename V::Reg pixels) const {
        // The high half of a field's product holds the scaled channel in the field and its
        // fraction in the bits below, which the mask drops; blue's fraction falls out.
        const auto red = V::And(V::MulHigh(V::And(pixels, red_), redFraction_), red_);
        const auto green = V::And(V::MulHigh(V::And(pixels, green_), greenFraction_), green_);
        const auto blue = V::MulHigh(V::And(pixels, blue_), blueFraction_);
        return V::Or(V::Or(red, green), V::Or(blue, V::And(pixels, kept_)));
    }

private:
    typename V::Reg red_, green_, blue_;
    typename V::Reg redFraction_, greenFraction_, blueFraction_;
    typename V::Reg kept_;
};

// Wide steps first, then at most one narrow step; the columns done.
template <class Wide, class Narrow>
int DarkenRowsWith(const FaderFields& fields, const FaderLaneLevel& level, FaderPicture source,
                   FaderPicture work, int columns, int rows) {
    const LevelLanes<Wide> wide(fields, level);
    const LevelLanes<Narrow> narrow(fields, level);
    const int wideEnd = columns - columns % Wide::kPixels;
    const int done = columns - columns % Narrow::kPixels;
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* from = source.pixels + y * source.pitch;
        std::uint8_t* to = work.pixels + y * work.pitch;
        for (int x = 0; x < wideEnd; x += Wide::kPixels) {
            Wide::Store(to + 2 * x, wide.Apply(Wide::Load(from + 2 * x)));
        }
        for (int x = wideEnd; x < done; x += Narrow::kPixels) {
            Narrow::Store(to + 2 * x, narrow.Apply(Narrow::Load(from + 2 * x)));
        }
    }
    return done;
}

template <class Wide, class Narrow>
int MixRowsWith(const FaderFields& fields, const FaderLaneLevel& newerLevel,
                const FaderLaneLevel& olderLevel, FaderPicture older, FaderPicture newer,
                FaderPicture work, int columns, int rows) {
    const LevelLanes<Wide> wideNewer(fields, newerLevel);
    const LevelLanes<Wide> wideOlder(fields, olderLevel);
    const LevelLanes<Narrow> narrowNewer(fields, newerLevel);
    const LevelLanes<Narrow> narrowOlder(fields, olderLevel);
    const int wideEnd = columns - columns % Wide::kPixels;
    const int done = columns - columns % Narrow::kPixels;
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* olderRow = older.pixels + y * older.pitch;
        const std::uint8_t* newerRow = newer.pixels + y * newer.pitch;
        std::uint8_t* workRow = work.pixels + y * work.pitch;
        for (int x = 0; x < wideEnd; x += Wide::kPixels) {
            Wide::Store(workRow + 2 * x, Wide::Add(wideNewer.Apply(Wide::Load(newerRow + 2 * x)),
                                                   wideOlder.Apply(Wide::Load(olderRow + 2 * x))));
        }
        for (int x = wideEnd; x < done; x += Narrow::kPixels) {
            Narrow::Store(workRow + 2 * x,
                          Narrow::Add(narrowNewer.Apply(Narrow::Load(newerRow + 2 * x)),
                                      narrowOlder.Apply(Narrow::Load(olderRow + 2 * x))));
        }
    }
    return done;
}

}  // namespace

}  // namespace zelto
