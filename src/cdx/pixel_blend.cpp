#include "pixel_blend.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Pairs of 16-bit pixels are read as one 32-bit word with the left pixel in its low half.
static_assert(std::endian::native == std::endian::little);

namespace {

std::uint16_t Load16(const std::uint8_t* at) {
    std::uint16_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}
void Store16(std::uint8_t* at, std::uint16_t value) {
    std::memcpy(at, &value, sizeof value);
}
std::uint32_t Load32(const std::uint8_t* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}
void Store32(std::uint8_t* at, std::uint32_t value) {
    std::memcpy(at, &value, sizeof value);
}

// Where the channels of a 16-bit layout sit. Blue is bits 0-4 in both.
struct Channels555 {
    static constexpr unsigned kGreenMask = 0x1F;
    static constexpr int kRedShift = 10;
    // Clears the bit that a right shift by one moves out of each channel into the one below.
    static constexpr std::uint16_t kHalfMask = 0x3DEF;
};
struct Channels565 {
    static constexpr unsigned kGreenMask = 0x3F;
    static constexpr int kRedShift = 11;
    static constexpr std::uint16_t kHalfMask = 0x7BEF;
};

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

#if defined(__SSE2__)
// The same for eight pixels in the 16-bit lanes of a vector.
template <class C, class ChannelFn>
__m128i EachChannel8(__m128i s, __m128i d, ChannelFn channel) {
    const __m128i fiveBits = _mm_set1_epi16(0x1F);
    const __m128i greenMask = _mm_set1_epi16(static_cast<short>(C::kGreenMask));
    const __m128i blue = channel(_mm_and_si128(s, fiveBits), _mm_and_si128(d, fiveBits));
    const __m128i green = channel(_mm_and_si128(_mm_srli_epi16(s, 5), greenMask),
                                  _mm_and_si128(_mm_srli_epi16(d, 5), greenMask));
    const __m128i red = channel(_mm_and_si128(_mm_srli_epi16(s, C::kRedShift), fiveBits),
                                _mm_and_si128(_mm_srli_epi16(d, C::kRedShift), fiveBits));
    return _mm_or_si128(_mm_or_si128(blue, _mm_slli_epi16(green, 5)),
                        _mm_slli_epi16(red, C::kRedShift));
}
#endif

// The per-pixel operations. Each gives a lone 16-bit pixel, a 32-bit pair, eight pixels in a
// vector, and the three colour bytes of a 24- or 32-bit pixel; every form computes the same
// value per pixel. The weight argument is the pixel's alpha byte (two bytes for a pair, eight
// 16-bit lanes for a vector) and only the alpha blend reads it.

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
#if defined(__SSE2__)
    template <class C>
    __m128i Pixels8(__m128i s, __m128i d, __m128i) const {
        const __m128i mask = _mm_set1_epi16(static_cast<short>(C::kHalfMask));
        return _mm_add_epi16(_mm_and_si128(_mm_srli_epi16(d, 1), mask),
                             _mm_and_si128(_mm_srli_epi16(s, 1), mask));
    }
#endif
    void Bytes(const std::uint8_t* s, std::uint8_t* d, unsigned) const {
        for (int i = 0; i < 3; ++i) d[i] = static_cast<std::uint8_t>((d[i] >> 1) + (s[i] >> 1));
    }
};

// s + floor((d - s) x t / 256): the signed product shifted arithmetically rounds down.
struct TranslucentOp {
    static constexpr bool kReadsSource = true;
    static constexpr bool kUsesAlpha = false;
    int weight;  // 0..256, the destination's share
    static int Channel(int s, int d, int t) { return s + (((d - s) * t) >> 8); }
    template <class C>
    std::uint16_t Pixel16(std::uint16_t s, std::uint16_t d, unsigned) const {
        return EachChannel<C>(s, d, [t = weight](int sc, int dc) { return Channel(sc, dc, t); });
    }
    template <class C>
    std::uint32_t Pair(std::uint32_t s, std::uint32_t d, unsigned) const {
        return PairOfLones<C>(*this, s, d, 0);
    }
#if defined(__SSE2__)
    template <class C>
    __m128i Pixels8(__m128i s, __m128i d, __m128i) const {
        // |d - s| <= 63 and t <= 256: the product fits a signed 16-bit lane.
        const __m128i t = _mm_set1_epi16(static_cast<short>(weight));
        return EachChannel8<C>(s, d, [t](__m128i sc, __m128i dc) {
            return _mm_add_epi16(sc, _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(dc, sc), t), 8));
        });
    }
#endif
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
#if defined(__SSE2__)
    template <class C>
    __m128i Pixels8(__m128i s, __m128i d, __m128i alphas) const {
        return EachChannel8<C>(s, d, [alphas](__m128i sc, __m128i dc) {
            return _mm_add_epi16(dc,
                                 _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(sc, dc), alphas), 8));
        });
    }
#endif
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
#if defined(__SSE2__)
    template <class C>
    __m128i Pixels8(__m128i s, __m128i d, __m128i) const {
        const __m128i f = _mm_set1_epi16(static_cast<short>(level));
        return EachChannel8<C>(
            s, d, [f](__m128i, __m128i dc) { return _mm_srli_epi16(_mm_mullo_epi16(dc, f), 8); });
    }
#endif
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
#if defined(__SSE2__)
    template <class C>
    __m128i Pixels8(__m128i, __m128i d, __m128i) const {
        return _mm_and_si128(_mm_srli_epi16(d, 1),
                             _mm_set1_epi16(static_cast<short>(C::kHalfMask)));
    }
#endif
    void Bytes(const std::uint8_t*, std::uint8_t* d, unsigned) const {
        for (int i = 0; i < 3; ++i) d[i] = static_cast<std::uint8_t>(d[i] >> 1);
    }
};

// The walk over 15- or 16-bit rows: the odd pixel of an odd-width row first, then runs of
// eight, then pairs. A keyed source pixel leaves its destination pixel as it was.
template <class C, bool Keyed, class Op>
void Walk16(const BlendRects& rects, const Op& op, std::uint16_t key) {
    constexpr bool kNeedsSource = Op::kReadsSource || Keyed;
#if defined(__SSE2__)
    const __m128i keys = _mm_set1_epi16(static_cast<short>(key));
    const __m128i zero = _mm_setzero_si128();
#endif
    const std::uint8_t* sourceRow = rects.source;
    std::uint8_t* destRow = rects.dest;
    const std::uint8_t* alphaRow = rects.alpha;
    for (int row = 0; row < rects.height; ++row) {
        const std::uint8_t* s = sourceRow;
        std::uint8_t* d = destRow;
        const std::uint8_t* a = alphaRow;
        int left = rects.width;
        if (left & 1) {
            const std::uint16_t sv = kNeedsSource ? Load16(s) : 0;
            const unsigned weight = Op::kUsesAlpha ? a[0] : 0;
            if (!Keyed || sv != key) {
                Store16(d, op.template Pixel16<C>(sv, Load16(d), weight));
            }
            s += 2;
            d += 2;
            if constexpr (Op::kUsesAlpha) ++a;
            --left;
        }
#if defined(__SSE2__)
        for (; left >= 8; left -= 8, s += 16, d += 16) {
            const __m128i sv =
                kNeedsSource ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(s)) : zero;
            __m128i weights = zero;
            if constexpr (Op::kUsesAlpha) {
                weights =
                    _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a)), zero);
                a += 8;
            }
            const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
            __m128i out = op.template Pixels8<C>(sv, dv, weights);
            if constexpr (Keyed) {
                const __m128i keyed = _mm_cmpeq_epi16(sv, keys);
                if (_mm_movemask_epi8(keyed) == 0xFFFF) continue;
                out = _mm_or_si128(_mm_and_si128(keyed, dv), _mm_andnot_si128(keyed, out));
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d), out);
        }
#endif
        for (; left >= 2; left -= 2, s += 4, d += 4) {
            const std::uint32_t sv = kNeedsSource ? Load32(s) : 0;
            unsigned weights = 0;
            if constexpr (Op::kUsesAlpha) {
                weights = Load16(a);
                a += 2;
            }
            const std::uint32_t dv = Load32(d);
            if constexpr (Keyed) {
                const bool leftKeyed = (sv & 0xFFFF) == key;
                const bool rightKeyed = (sv >> 16) == key;
                if (leftKeyed && rightKeyed) continue;
                std::uint32_t out = op.template Pair<C>(sv, dv, weights);
                if (leftKeyed) out = (out & 0xFFFF0000u) | (dv & 0xFFFFu);
                if (rightKeyed) out = (out & 0xFFFFu) | (dv & 0xFFFF0000u);
                Store32(d, out);
            } else {
                Store32(d, op.template Pair<C>(sv, dv, weights));
            }
        }
        sourceRow += rects.sourcePitch;
        destRow += rects.destPitch;
        if constexpr (Op::kUsesAlpha) alphaRow += rects.alphaPitch;
    }
}

// The walk over 24- or 32-bit rows, one pixel at a time over its three colour bytes.
template <bool Keyed, class Op>
void WalkBytes(const BlendRects& rects, const Op& op, int bytesPerPixel, std::uint32_t key) {
    const std::uint8_t* sourceRow = rects.source;
    std::uint8_t* destRow = rects.dest;
    const std::uint8_t* alphaRow = rects.alpha;
    for (int row = 0; row < rects.height; ++row) {
        const std::uint8_t* s = sourceRow;
        std::uint8_t* d = destRow;
        for (int column = 0; column < rects.width; ++column) {
            const unsigned weight = Op::kUsesAlpha ? alphaRow[column] : 0;
            const bool keyed =
                Keyed && (static_cast<std::uint32_t>(s[0]) | (s[1] << 8) | (s[2] << 16)) == key;
            if (!keyed) op.Bytes(s, d, weight);
            s += bytesPerPixel;
            d += bytesPerPixel;
        }
        sourceRow += rects.sourcePitch;
        destRow += rects.destPitch;
        if constexpr (Op::kUsesAlpha) alphaRow += rects.alphaPitch;
    }
}

template <class Op>
void Walk(const BlendRects& rects, PixelLayout layout, const Op& op,
          std::optional<std::uint32_t> key) {
    if (rects.width <= 0 || rects.height <= 0) return;
    const bool twoBytes = layout == PixelLayout::Rgb555 || layout == PixelLayout::Rgb565;
    // A key wider than the pixel never matches: the walk then runs unkeyed.
    const std::uint32_t widest = twoBytes ? 0xFFFFu : 0xFFFFFFu;
    const bool keyed = key.has_value() && *key <= widest;
    const std::uint32_t keyValue = keyed ? *key : 0;
    switch (layout) {
        case PixelLayout::Rgb555:
            if (keyed) return Walk16<Channels555, true>(rects, op, keyValue);
            return Walk16<Channels555, false>(rects, op, 0);
        case PixelLayout::Rgb565:
            if (keyed) return Walk16<Channels565, true>(rects, op, keyValue);
            return Walk16<Channels565, false>(rects, op, 0);
        case PixelLayout::Bgr24:
        case PixelLayout::Bgrx32:
            if (keyed) return WalkBytes<true>(rects, op, LayoutPixelBytes(layout), keyValue);
            return WalkBytes<false>(rects, op, LayoutPixelBytes(layout), 0);
    }
}

}  // namespace

std::optional<PixelLayout> LayoutForDepth(std::uint32_t bitDepth) {
    switch (bitDepth) {
        case 15:
            return PixelLayout::Rgb555;
        case 16:
            return PixelLayout::Rgb565;
        case 24:
            return PixelLayout::Bgr24;
        case 32:
            return PixelLayout::Bgrx32;
        default:
            return std::nullopt;
    }
}

int LayoutPixelBytes(PixelLayout layout) {
    switch (layout) {
        case PixelLayout::Rgb555:
        case PixelLayout::Rgb565:
            return 2;
        case PixelLayout::Bgr24:
            return 3;
        case PixelLayout::Bgrx32:
            return 4;
    }
    return 0;
}

void BlendPixels(const BlendRects& rects, PixelLayout layout, const PixelBlend& blend) {
    const int level = std::min<int>(blend.level, 256);
    switch (blend.operation) {
        case PixelOperation::Average:
            return Walk(rects, layout, AverageOp{}, blend.key);
        case PixelOperation::Translucent:
            return Walk(rects, layout, TranslucentOp{level}, blend.key);
        case PixelOperation::AlphaMap:
            return Walk(rects, layout, AlphaMapOp{}, blend.key);
        case PixelOperation::Shadow:
            return Walk(rects, layout, ShadowOp{level}, blend.key);
        case PixelOperation::HalfShadow:
            return Walk(rects, layout, HalfShadowOp{}, blend.key);
    }
}
