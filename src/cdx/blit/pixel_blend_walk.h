// SPDX-License-Identifier: MIT
#pragma once

// The per-pixel operations of the blends and shadows and the walk over 15- and 16-bit rows,
// written once over the lanes types of pixel_lanes.h. Each level's file instantiates the walk
// with the lanes its instructions allow and defines that level's entry point, declared at the
// end: pixel_blend.cpp with eight-pixel SSE2 lanes, pixel_blend_avx2.cpp with sixteen-pixel
// AVX2 lanes, pixel_blend_avx512.cpp with 32-pixel masked AVX-512 lanes. Everything here but
// those entry points sits in an unnamed namespace: each of those files gets its own copy, built
// for its own instruction set, and the linker can never hand one file's copy to another.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "cdx/blit/pixel_blend.h"
#include "cdx/blit/pixel_lanes.h"

namespace cdx {

// A 16-bit colour key, or none. It travels as a flag and a value rather than a std::optional:
// the standard library's templates are shared between files, and the walk below must
// instantiate none of them.
struct Key16 {
    bool keyed;
    std::uint16_t value;
};

namespace {

inline std::uint16_t Load16(const std::uint8_t* at) {
    std::uint16_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}
inline void Store16(std::uint8_t* at, std::uint16_t value) {
    std::memcpy(at, &value, sizeof value);
}
inline std::uint32_t Load32(const std::uint8_t* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}
inline void Store32(std::uint8_t* at, std::uint32_t value) {
    std::memcpy(at, &value, sizeof value);
}

// Where the channels of a 16-bit layout sit, from the layout's masks. Blue is the low five
// bits and red the top five of the colour bits in both layouts, which the vector steps rely on.
template <PixelLayout L>
struct Channels16 {
    static constexpr platform::ChannelMasks kMasks = platform::MasksOfLayout(L);
    static constexpr unsigned kGreenMask = kMasks.green >>
                                           platform::PlaceOfMask(kMasks.green).shift;
    static constexpr int kRedShift = platform::PlaceOfMask(kMasks.red).shift;
    // Clears the bit that a right shift by one moves out of each channel into the one below.
    static constexpr std::uint16_t kHalfMask = static_cast<std::uint16_t>(
        ((kMasks.red >> 1) & kMasks.red) | ((kMasks.green >> 1) & kMasks.green) |
        ((kMasks.blue >> 1) & kMasks.blue));
    // The colour bits; at 5-5-5 bit 15 is not a channel and a computed pixel has it clear.
    static constexpr std::uint16_t kColourBits =
        static_cast<std::uint16_t>(kMasks.red | kMasks.green | kMasks.blue);
    static_assert(kMasks.blue == 0x1F && kRedShift + 5 == std::bit_width(kColourBits));
};
using Channels555 = Channels16<PixelLayout::Rgb555>;
using Channels565 = Channels16<PixelLayout::Rgb565>;

// Applies channel(s, d) to blue, green and red of two 16-bit pixels and packs the results.
template <class C, class ChannelFn>
std::uint16_t EachChannel(std::uint16_t s, std::uint16_t d, ChannelFn channel) {
    const int blue = channel(s & 0x1F, d & 0x1F);
    const int green = channel((s >> 5) & C::kGreenMask, (d >> 5) & C::kGreenMask);
    const int red = channel((s >> C::kRedShift) & 0x1F, (d >> C::kRedShift) & 0x1F);
    return static_cast<std::uint16_t>(blue | (green << 5) | (red << C::kRedShift));
}

// A pair as two lone pixels, the left one in the low half, each with its own weight byte.
template <class C, class Op>
std::uint32_t PairOfLones(const Op& op, std::uint32_t s, std::uint32_t d, unsigned weights) {
    const std::uint32_t left = op.template Pixel16<C>(
        static_cast<std::uint16_t>(s), static_cast<std::uint16_t>(d), weights & 0xFF);
    const std::uint32_t right = op.template Pixel16<C>(
        static_cast<std::uint16_t>(s >> 16), static_cast<std::uint16_t>(d >> 16), weights >> 8);
    return left | (right << 16);
}

// base + floor((toward - base) x weight / 256) for each channel of 16-bit pixels, weight at
// most 255, without taking the channels apart and putting them back. Each channel's change
// floor(v / 256), v = (toward - base) x weight, is made where the channel sits and the
// three changes are added to base: the result's channels stay within their bits, so the sum
// is exact. Blue and green come from the pixels shifted left by one, where their difference
// times 2 (blue) or 64 (green) fits a signed lane, and a signed high multiply by weight x 128
// gives floor(v / 256) for blue and floor(v / 8) for green; clearing green's five low bits
// turns the latter into floor(v / 256) x 32, as floor(floor(v / 8) / 32) = floor(v / 256).
// Red's difference times weight times 2^(red shift - 8) is taken modulo 2^16 by a low
// multiply; its bits from the red shift up are floor(v / 256) there, modulo 2^16, which is
// all the sum needs.
template <class C, class V>
typename V::Reg MixTowards(typename V::Reg base, typename V::Reg toward, typename V::Reg weight) {
    constexpr int kGreenBitsAt1 = static_cast<int>(C::kGreenMask) << 6;
    constexpr int kRedPlace = 0xFFFF & ~((1 << C::kRedShift) - 1);
    if constexpr (C::kColourBits != 0xFFFF) base = V::And(base, V::Splat(C::kColourBits));
    const typename V::Reg base2 = V::template ShiftLeft<1>(base);
    const typename V::Reg toward2 = V::template ShiftLeft<1>(toward);
    const typename V::Reg weight128 = V::template ShiftLeft<7>(weight);

    const typename V::Reg blueBits = V::Splat(0x1F << 1);
    const typename V::Reg blue =
        V::MulHighSigned(V::Sub(V::And(toward2, blueBits), V::And(base2, blueBits)), weight128);

    const typename V::Reg greenBits = V::Splat(kGreenBitsAt1);
    const typename V::Reg green = V::And(
        V::MulHighSigned(V::Sub(V::And(toward2, greenBits), V::And(base2, greenBits)), weight128),
        V::Splat(0xFFE0));

    // Red is the top five bits of the pixel (of the pixel shifted left by one at 5-5-5).
    const typename V::Reg towardRed =
        V::template ShiftRight<11>(C::kRedShift == 11 ? toward : toward2);
    const typename V::Reg baseRed = V::template ShiftRight<11>(C::kRedShift == 11 ? base : base2);
    const typename V::Reg red = V::And(
        V::MulLow(V::Sub(towardRed, baseRed), V::template ShiftLeft<C::kRedShift - 8>(weight)),
        V::Splat(kRedPlace));
    return V::Add(V::Add(base, blue), V::Add(green, red));
}

// The per-pixel operations. Each gives a lone 16-bit pixel, a 32-bit pair, a vector of
// pixels in 16-bit lanes, and the three colour bytes of a 24- or 32-bit pixel; every form
// computes the same value per pixel. The weight argument is the pixel's alpha byte (two bytes
// for a pair, one lane each in a vector) and only the alpha blend reads it.

struct AverageOp {
    static constexpr bool kReadsSource = true;
    static constexpr bool kUsesAlpha = false;
    template <class C>
    std::uint16_t Pixel16(std::uint16_t s, std::uint16_t d, unsigned) const {
        return static_cast<std::uint16_t>(((d >> 1) & C::kHalfMask) + ((s >> 1) & C::kHalfMask));
    }
    template <class C>
    std::uint32_t Pair(std::uint32_t s, std::uint32_t d, unsigned) const {
        constexpr std::uint32_t mask = C::kHalfMask * 0x10001u;
        return ((d >> 1) & mask) + ((s >> 1) & mask);
    }
    template <class C, class V>
    typename V::Reg Pixels(typename V::Reg s, typename V::Reg d, typename V::Reg) const {
        const typename V::Reg mask = V::Splat(C::kHalfMask);
        return V::Add(V::And(V::template ShiftRight<1>(d), mask),
                      V::And(V::template ShiftRight<1>(s), mask));
    }
    void Bytes(const std::uint8_t* s, std::uint8_t* d, unsigned) const {
        for (int i = 0; i < 3; ++i) d[i] = static_cast<std::uint8_t>((d[i] >> 1) + (s[i] >> 1));
    }
};

// The translucent blend at weight 128, floor((s + d) / 2) for each channel: s + floor((d - s)
// / 2) is that same value. It is the common bits of the two channels plus half the bits where
// they differ, with the bit that the halving moves out of each channel cleared.
struct HalfBlendOp {
    static constexpr bool kReadsSource = true;
    static constexpr bool kUsesAlpha = false;
    template <class C>
    std::uint16_t Pixel16(std::uint16_t s, std::uint16_t d, unsigned) const {
        return static_cast<std::uint16_t>((s & d & C::kColourBits) +
                                          (((s ^ d) >> 1) & C::kHalfMask));
    }
    template <class C>
    std::uint32_t Pair(std::uint32_t s, std::uint32_t d, unsigned) const {
        return (s & d & (C::kColourBits * 0x10001u)) + (((s ^ d) >> 1) & (C::kHalfMask * 0x10001u));
    }
    template <class C, class V>
    typename V::Reg Pixels(typename V::Reg s, typename V::Reg d, typename V::Reg) const {
        typename V::Reg common = V::And(s, d);
        if constexpr (C::kColourBits != 0xFFFF) common = V::And(common, V::Splat(C::kColourBits));
        return V::Add(common,
                      V::And(V::template ShiftRight<1>(V::Xor(s, d)), V::Splat(C::kHalfMask)));
    }
};

// s + floor((d - s) x t / 256): the signed product shifted arithmetically rounds down.
struct TranslucentOp {
    static constexpr bool kReadsSource = true;
    static constexpr bool kUsesAlpha = false;
    // 0..255, the destination's share. A weight of 256 leaves the destination as it is and
    // never reaches the walk.
    int weight;
    static int Channel(int s, int d, int t) { return s + (((d - s) * t) >> 8); }
    template <class C>
    std::uint16_t Pixel16(std::uint16_t s, std::uint16_t d, unsigned) const {
        return EachChannel<C>(s, d, [t = weight](int sc, int dc) { return Channel(sc, dc, t); });
    }
    template <class C>
    std::uint32_t Pair(std::uint32_t s, std::uint32_t d, unsigned) const {
        return PairOfLones<C>(*this, s, d, 0);
    }
    template <class C, class V>
    typename V::Reg Pixels(typename V::Reg s, typename V::Reg d, typename V::Reg) const {
        return MixTowards<C, V>(s, d, V::Splat(weight));
    }
    void Bytes(const std::uint8_t* s, std::uint8_t* d, unsigned) const {
        for (int i = 0; i < 3; ++i) d[i] = static_cast<std::uint8_t>(Channel(s[i], d[i], weight));
    }
};

// d + floor((s - d) x a / 256), a the source pixel's alpha byte.
struct AlphaMapOp {
    static constexpr bool kReadsSource = true;
    static constexpr bool kUsesAlpha = true;
    static int Channel(int s, int d, int a) { return d + (((s - d) * a) >> 8); }
    template <class C>
    std::uint16_t Pixel16(std::uint16_t s, std::uint16_t d, unsigned alpha) const {
        const int a = static_cast<int>(alpha);
        return EachChannel<C>(s, d, [a](int sc, int dc) { return Channel(sc, dc, a); });
    }
    template <class C>
    std::uint32_t Pair(std::uint32_t s, std::uint32_t d, unsigned alphas) const {
        return PairOfLones<C>(*this, s, d, alphas);
    }
    template <class C, class V>
    typename V::Reg Pixels(typename V::Reg s, typename V::Reg d, typename V::Reg alphas) const {
        return MixTowards<C, V>(d, s, alphas);
    }
    void Bytes(const std::uint8_t* s, std::uint8_t* d, unsigned alpha) const {
        const int a = static_cast<int>(alpha);
        for (int i = 0; i < 3; ++i) d[i] = static_cast<std::uint8_t>(Channel(s[i], d[i], a));
    }
};

// floor(d x f / 256); the product is at most 255 x 256, so nothing spills.
struct ShadowOp {
    static constexpr bool kReadsSource = false;
    static constexpr bool kUsesAlpha = false;
    int level;  // 0..256, the brightness kept
    template <class C>
    std::uint16_t Pixel16(std::uint16_t s, std::uint16_t d, unsigned) const {
        return EachChannel<C>(s, d, [f = level](int, int dc) { return (dc * f) >> 8; });
    }
    template <class C>
    std::uint32_t Pair(std::uint32_t s, std::uint32_t d, unsigned) const {
        return PairOfLones<C>(*this, s, d, 0);
    }
    template <class C, class V>
    typename V::Reg Pixels(typename V::Reg, typename V::Reg d, typename V::Reg) const {
        const typename V::Reg f = V::Splat(level);
        const typename V::Reg fiveBits = V::Splat(0x1F);
        const typename V::Reg blue = V::template ShiftRight<8>(V::MulLow(V::And(d, fiveBits), f));
        const typename V::Reg green = V::template ShiftRight<8>(
            V::MulLow(V::And(V::template ShiftRight<5>(d), V::Splat(C::kGreenMask)), f));
        const typename V::Reg red = V::template ShiftRight<8>(
            V::MulLow(V::And(V::template ShiftRight<C::kRedShift>(d), fiveBits), f));
        return V::Or(V::Or(blue, V::template ShiftLeft<5>(green)),
                     V::template ShiftLeft<C::kRedShift>(red));
    }
    void Bytes(const std::uint8_t*, std::uint8_t* d, unsigned) const {
        for (int i = 0; i < 3; ++i) d[i] = static_cast<std::uint8_t>((d[i] * level) >> 8);
    }
};

struct HalfShadowOp {
    static constexpr bool kReadsSource = false;
    static constexpr bool kUsesAlpha = false;
    template <class C>
    std::uint16_t Pixel16(std::uint16_t, std::uint16_t d, unsigned) const {
        return static_cast<std::uint16_t>((d >> 1) & C::kHalfMask);
    }
    template <class C>
    std::uint32_t Pair(std::uint32_t, std::uint32_t d, unsigned) const {
        return (d >> 1) & (C::kHalfMask * 0x10001u);
    }
    template <class C, class V>
    typename V::Reg Pixels(typename V::Reg, typename V::Reg d, typename V::Reg) const {
        return V::And(V::template ShiftRight<1>(d), V::Splat(C::kHalfMask));
    }
    void Bytes(const std::uint8_t*, std::uint8_t* d, unsigned) const {
        for (int i = 0; i < 3; ++i) d[i] = static_cast<std::uint8_t>(d[i] >> 1);
    }
};

// Where a row's walk stands: the next source, destination and weight byte, and how many
// pixels are left.
struct RowCursor {
    const std::uint8_t* source;
    std::uint8_t* dest;
    const std::uint8_t* alpha;
    int left;
};

// One step's pixels, read and worked out but not yet stored: the result, and whether the
// step leaves its destination as it was (every source pixel keyed, or at 5-6-5 every weight
// zero) and is not stored at all.
template <class V>
struct PendingStep {
    typename V::Reg out;
    bool unchanged;
};

// Reads V::kPixels pixels at offset bytes into the row (offset / 2 weight bytes) and works out
// what they become; a keyed source pixel keeps its destination pixel. At 5-5-5 a zero weight
// still clears bit 15 of a computed pixel, so those steps are computed.
template <class C, bool Keyed, class Op, class V>
PendingStep<V> ComputeStep(const RowCursor& row, std::ptrdiff_t offset, const Op& op,
                           typename V::Reg keys) {
    constexpr bool kNeedsSource = Op::kReadsSource || Keyed;
    constexpr bool kSkipsTransparent = Op::kUsesAlpha && C::kColourBits == 0xFFFF;
    typename V::Reg weights = V::Splat(0);
    if constexpr (Op::kUsesAlpha) {
        const std::uint8_t* stepWeights = row.alpha + offset / 2;
        if (kSkipsTransparent && V::WeightsAllZero(stepWeights)) return {weights, true};
        weights = V::LoadWeights(stepWeights);
    }
    const typename V::Reg s = kNeedsSource ? V::Load(row.source + offset) : V::Splat(0);
    const typename V::Reg keyed = V::Equal(s, keys);
    if (Keyed && V::AllSet(keyed)) return {s, true};
    const typename V::Reg d = V::Load(row.dest + offset);
    typename V::Reg out = op.template Pixels<C, V>(s, d, weights);
    if constexpr (Keyed) out = V::Select(keyed, d, out);
    return {out, false};
}

// A row of at least V::kPixels pixels in steps of that many from its start, and one more step
// that ends at the row's end. That last step may overlap the one before it: both are read and
// worked out before either is stored, so where they overlap the last step computes the same
// pixels from the same destination pixels and stores the same values, and a row of any width
// needs neither narrower steps nor lone pixels; their loads also stay ahead of the store they
// overlap, which a processor could not forward to them. Every other step is read and stored in
// order from the row's start, so that the memory's prefetching follows one stream from row to
// row; a row begun at its end would break that stream at every row.
template <class C, bool Keyed, class Op, class V>
void RowInSteps(const RowCursor& row, const Op& op, typename V::Reg keys) {
    constexpr std::ptrdiff_t kBytes = 2 * V::kPixels;
    const std::ptrdiff_t lastStep = 2 * static_cast<std::ptrdiff_t>(row.left - V::kPixels);
    // The step before the last. A row one step wide takes its only step twice, from the same
    // destination pixels, with the same outcome.
    const std::ptrdiff_t beforeLast = lastStep > 0 ? (lastStep - 1) / kBytes * kBytes : 0;
    for (std::ptrdiff_t offset = 0; offset < beforeLast; offset += kBytes) {
        const PendingStep<V> step = ComputeStep<C, Keyed, Op, V>(row, offset, op, keys);
        if (!step.unchanged) V::Store(row.dest + offset, step.out);
    }
    const PendingStep<V> before = ComputeStep<C, Keyed, Op, V>(row, beforeLast, op, keys);
    const PendingStep<V> last = ComputeStep<C, Keyed, Op, V>(row, lastStep, op, keys);
    if (!before.unchanged) V::Store(row.dest + beforeLast, before.out);
    if (!last.unchanged) V::Store(row.dest + lastStep, last.out);
}

// Lanes whose loads and stores take a mask of lanes (AVX-512).
template <class V>
concept MaskedLanes = requires {
    typename V::Mask;
};

// One masked step of V::kPixels pixels at the cursor, the lanes within the row given by
// within: key pixels are left out of the store mask, so their destination pixels are never
// written. The destination is loaded under the row's mask rather than the store mask, so that
// the load need not wait for the source's key comparison.
template <class C, bool Keyed, class Op, class V>
void MaskedStep(const RowCursor& at, typename V::Mask within, const Op& op, typename V::Reg keys) {
    constexpr bool kNeedsSource = Op::kReadsSource || Keyed;
    const typename V::Reg s = kNeedsSource ? V::LoadMasked(within, at.source) : V::Splat(0);
    typename V::Mask write = within;
    if constexpr (Keyed) write = V::Differ(within, s, keys);
    typename V::Reg weights = V::Splat(0);
    if constexpr (Op::kUsesAlpha) weights = V::LoadWeightsMasked(write, at.alpha);
    if (write == 0) return;
    const typename V::Reg d = V::LoadMasked(within, at.dest);
    V::StoreMasked(at.dest, write, op.template Pixels<C, V>(s, d, weights));
}

// The walk over 15- or 16-bit rows in masked steps of V::kPixels: a row's last pixels are
// loaded through a mask, so nothing outside the rectangle is read or written, no pixel under
// a key pixel is written and no row needs a lone pixel or pairs. Rows no wider than one step (a
// sprite frame) take that step alone, with the lane mask found once for the whole rectangle.
template <class C, bool Keyed, class Op, class V>
void Walk16Masked(const BlendRects& rects, const Op& op, std::uint16_t key) {
    constexpr int kBytes = 2 * V::kPixels;
    const typename V::Reg keys = V::Splat(key);
    // Held in registers rather than read through rects after every row: the compiler cannot
    // tell that the stores into the destination leave rects alone, and a load behind a masked
    // store waits for that store.
    RowCursor rowStart{rects.source, rects.dest, rects.alpha, rects.width};
    const std::ptrdiff_t sourcePitch = rects.sourcePitch;
    const std::ptrdiff_t destPitch = rects.destPitch;
    const std::ptrdiff_t alphaPitch = rects.alphaPitch;
    const int height = rects.height;
    if (rects.width <= V::kPixels) {
        const typename V::Mask within = V::FirstLanes(rects.width);
        for (int row = 0; row < height; ++row) {
            MaskedStep<C, Keyed, Op, V>(rowStart, within, op, keys);
            rowStart.source += sourcePitch;
            rowStart.dest += destPitch;
            if constexpr (Op::kUsesAlpha) rowStart.alpha += alphaPitch;
        }
        return;
    }
    for (int row = 0; row < height; ++row) {
        for (RowCursor at = rowStart; at.left > 0; at.left -= V::kPixels) {
            MaskedStep<C, Keyed, Op, V>(at, V::FirstLanes(at.left), op, keys);
            at.source += kBytes;
            at.dest += kBytes;
            if constexpr (Op::kUsesAlpha) at.alpha += V::kPixels;
        }
        rowStart.source += sourcePitch;
        rowStart.dest += destPitch;
        if constexpr (Op::kUsesAlpha) rowStart.alpha += alphaPitch;
    }
}

// A row narrower than any vector step: pairs, then the odd last pixel. A keyed source pixel
// leaves its destination pixel as it was.
template <class C, bool Keyed, class Op>
void RowInPairs(RowCursor at, const Op& op, std::uint16_t key) {
    constexpr bool kNeedsSource = Op::kReadsSource || Keyed;
    for (; at.left >= 2; at.left -= 2, at.source += 4, at.dest += 4) {
        const std::uint32_t sv = kNeedsSource ? Load32(at.source) : 0;
        unsigned weights = 0;
        if constexpr (Op::kUsesAlpha) {
            weights = Load16(at.alpha);
            at.alpha += 2;
        }
        const std::uint32_t dv = Load32(at.dest);
        if constexpr (Keyed) {
            const bool leftKeyed = (sv & 0xFFFF) == key;
            const bool rightKeyed = (sv >> 16) == key;
            if (leftKeyed && rightKeyed) continue;
            std::uint32_t out = op.template Pair<C>(sv, dv, weights);
            if (leftKeyed) out = (out & 0xFFFF0000u) | (dv & 0xFFFFu);
            if (rightKeyed) out = (out & 0xFFFFu) | (dv & 0xFFFF0000u);
            Store32(at.dest, out);
        } else {
            Store32(at.dest, op.template Pair<C>(sv, dv, weights));
        }
    }
    if (at.left == 1) {
        const std::uint16_t sv = kNeedsSource ? Load16(at.source) : 0;
        const unsigned weight = Op::kUsesAlpha ? at.alpha[0] : 0;
        if (!Keyed || sv != key) {
            Store16(at.dest, op.template Pixel16<C>(sv, Load16(at.dest), weight));
        }
    }
}

// The rectangle's rows, each handed to rowFn as a cursor at its first pixel. The pitches and
// the first row stay in registers for the whole walk, as in the masked walk.
template <bool UsesAlpha, class RowFn>
void ForEachRow(const BlendRects& rects, RowFn rowFn) {
    RowCursor row{rects.source, rects.dest, rects.alpha, rects.width};
    const std::ptrdiff_t sourcePitch = rects.sourcePitch;
    const std::ptrdiff_t destPitch = rects.destPitch;
    const std::ptrdiff_t alphaPitch = rects.alphaPitch;
    const int height = rects.height;
    for (int r = 0; r < height; ++r) {
        rowFn(row);
        row.source += sourcePitch;
        row.dest += destPitch;
        if constexpr (UsesAlpha) row.alpha += alphaPitch;
    }
}

// The walk over 15- or 16-bit rows with the widest of the lanes (given widest first) that the
// rectangle is as wide as, and in pairs when it is narrower than them all: every row of one
// rectangle takes the same kind of walk.
template <class C, bool Keyed, class Op, class... Lanes>
void Walk16Stepped(const BlendRects& rects, const Op& op, std::uint16_t key);

template <class C, bool Keyed, class Op>
void Walk16InPairs(const BlendRects& rects, const Op& op, std::uint16_t key) {
    ForEachRow<Op::kUsesAlpha>(
        rects, [&](const RowCursor& row) { RowInPairs<C, Keyed, Op>(row, op, key); });
}

template <class C, bool Keyed, class Op, class Widest, class... Narrower>
void Walk16InLanes(const BlendRects& rects, const Op& givenOp, std::uint16_t key) {
    if (rects.width < Widest::kPixels) {
        return Walk16Stepped<C, Keyed, Op, Narrower...>(rects, givenOp, key);
    }
    // A copy of its own: the caller's could be written by a store into the destination as far
    // as the compiler can tell, so its weight would be loaded again at every step.
    const Op op = givenOp;
    const typename Widest::Reg keys = Widest::Splat(key);
    ForEachRow<Op::kUsesAlpha>(
        rects, [&](const RowCursor& row) { RowInSteps<C, Keyed, Op, Widest>(row, op, keys); });
}

template <class C, bool Keyed, class Op, class... Lanes>
void Walk16Stepped(const BlendRects& rects, const Op& op, std::uint16_t key) {
    if constexpr (sizeof...(Lanes) == 0) {
        Walk16InPairs<C, Keyed, Op>(rects, op, key);
    } else {
        Walk16InLanes<C, Keyed, Op, Lanes...>(rects, op, key);
    }
}

// The masked walk with masked lanes alone, else the stepped walk.
template <class C, bool Keyed, class Op, class... Lanes>
void Walk16(const BlendRects& rects, const Op& op, std::uint16_t key) {
    if constexpr (sizeof...(Lanes) == 1 && (MaskedLanes<Lanes> && ...)) {
        Walk16Masked<C, Keyed, Op, Lanes...>(rects, op, key);
    } else {
        Walk16Stepped<C, Keyed, Op, Lanes...>(rects, op, key);
    }
}

template <class C, class Op, class... Lanes>
void Walk16Keyed(const BlendRects& rects, const Op& op, Key16 key) {
    if (key.keyed) return Walk16<C, true, Op, Lanes...>(rects, op, key.value);
    return Walk16<C, false, Op, Lanes...>(rects, op, 0);
}

template <class Op, class... Lanes>
void Walk16Layout(const BlendRects& rects, PixelLayout layout, const Op& op, Key16 key) {
    if (layout == PixelLayout::Rgb555)
        return Walk16Keyed<Channels555, Op, Lanes...>(rects, op, key);
    return Walk16Keyed<Channels565, Op, Lanes...>(rects, op, key);
}

// One blend over 15- or 16-bit rows with the given lanes. The weight is already at most 255
// for the translucent blend and at most 256 for the shadow; a key is one that can match.
template <class... Lanes>
void Blend16With(const BlendRects& rects, PixelLayout layout, PixelOperation operation, int weight,
                 Key16 key) {
    switch (operation) {
        case PixelOperation::Average:
            return Walk16Layout<AverageOp, Lanes...>(rects, layout, AverageOp{}, key);
        case PixelOperation::Translucent:
            // Weight 128, the half blend, takes a handful of instructions a step instead of a
            // multiply per channel.
            if (weight == 128)
                return Walk16Layout<HalfBlendOp, Lanes...>(rects, layout, HalfBlendOp{}, key);
            return Walk16Layout<TranslucentOp, Lanes...>(rects, layout, TranslucentOp{weight}, key);
        case PixelOperation::AlphaMap:
            return Walk16Layout<AlphaMapOp, Lanes...>(rects, layout, AlphaMapOp{}, key);
        case PixelOperation::Shadow:
            return Walk16Layout<ShadowOp, Lanes...>(rects, layout, ShadowOp{weight}, key);
        case PixelOperation::HalfShadow:
            return Walk16Layout<HalfShadowOp, Lanes...>(rects, layout, HalfShadowOp{}, key);
    }
}

}  // namespace

// The 15- and 16-bit walk at each processor level; pixel_blend.cpp picks one by the level in
// use. The baseline's takes eight-pixel SSE2 steps (pairs alone in builds without SSE2), AVX2's
// sixteen-pixel steps and AVX-512's 32-pixel masked steps.
void Blend16Baseline(const BlendRects& rects, PixelLayout layout, PixelOperation operation,
                     int weight, Key16 key);
void Blend16Avx2(const BlendRects& rects, PixelLayout layout, PixelOperation operation, int weight,
                 Key16 key);
void Blend16Avx512(const BlendRects& rects, PixelLayout layout, PixelOperation operation,
                   int weight, Key16 key);

}  // namespace cdx
