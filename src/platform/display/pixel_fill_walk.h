// SPDX-License-Identifier: MIT
#pragma once

// The fill's walk over rows, written once over a "lanes" type that says how wide a store is
// and how its instructions are spelt. Each level's file instantiates it with the lanes its
// instructions allow and defines that level's entry point, declared below: pixel_fill.cpp with
// 16-byte SSE2 lanes, pixel_fill_avx2.cpp with 32-byte AVX2 lanes. The lanes and the walk sit
// in an unnamed namespace: each of those two files gets its own copy, built for its own
// instruction set, and the linker can never hand one file's copy to the other.

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__AVX2__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

// The bytes of the fill from a pixel's first byte on: byte i holds byte i % bytesPerPixel of
// the value. Long enough for three 32-byte stores (a whole number of 3-byte pixels) to start
// at any byte of a pixel.
constexpr std::size_t kFillGroupBytes = 96;
constexpr std::size_t kFillPatternBytes = kFillGroupBytes + 4;

// One fill: rows rows of rowBytes bytes each, pitch bytes apart.
struct FillRun {
    std::uint8_t* first;
    std::ptrdiff_t pitch;
    std::size_t rowBytes;
    int rows;
    const std::uint8_t* pattern;  // kFillPatternBytes bytes
    std::size_t bytesPerPixel;
};

// The fill at each processor level; pixel_fill.cpp picks one by the level in use. The
// baseline's takes 16-byte SSE2 stores (only builds with SSE2 have it), AVX2's 32-byte stores.
void FillRunBaseline(const FillRun& run);
void FillRunAvx2(const FillRun& run);

namespace {

#if defined(__SSE2__)
struct Sse2Lanes {
    using Reg = __m128i;
    static Reg Load(const std::uint8_t* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    }
    static void Store(std::uint8_t* at, Reg value) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), value);
    }
    static void StoreAligned(std::uint8_t* at, Reg value) {
        _mm_store_si128(reinterpret_cast<__m128i*>(at), value);
    }
};
#endif

#if defined(__AVX2__)
struct Avx2Lanes {
    using Reg = __m256i;
    static Reg Load(const std::uint8_t* at) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    }
    static void Store(std::uint8_t* at, Reg value) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), value);
    }
    static void StoreAligned(std::uint8_t* at, Reg value) {
        _mm256_store_si256(reinterpret_cast<__m256i*>(at), value);
    }
};
#endif

// The pattern bytes that row byte n and those after it take.
inline const std::uint8_t* PatternFrom(const FillRun& run, std::size_t rowByte) {
    return run.pattern + rowByte % run.bytesPerPixel;
}

// Rows shorter than one vector: overlapping 8-byte stores, two 4-byte stores, or bytes.
inline void FillShortRow(std::uint8_t* to, std::size_t bytes, const FillRun& run) {
    if (bytes >= 8) {
        for (std::size_t at = 0; at + 8 < bytes; at += 8) {
            std::memcpy(to + at, PatternFrom(run, at), 8);
        }
        std::memcpy(to + bytes - 8, PatternFrom(run, bytes - 8), 8);
    } else if (bytes >= 4) {
        std::memcpy(to, PatternFrom(run, 0), 4);
        std::memcpy(to + bytes - 4, PatternFrom(run, bytes - 4), 4);
    } else {
        for (std::size_t i = 0; i < bytes; ++i) to[i] = run.pattern[i];
    }
}

// One row of any length: an unaligned store at its start, then aligned stores from the first
// aligned byte on, three vectors per group (the period of 3-byte pixels; for the other sizes
// the three are the same), and an unaligned store ending on the row's last byte. Where stores
// overlap they write the same bytes twice.
template <class Lanes>
void FillRow(std::uint8_t* to, std::size_t bytes, const FillRun& run) {
    using Reg = typename Lanes::Reg;
    constexpr std::size_t kVector = sizeof(Reg);
    if (bytes < kVector) return FillShortRow(to, bytes, run);
    Lanes::Store(to, Lanes::Load(PatternFrom(run, 0)));
    std::size_t at = kVector - reinterpret_cast<std::uintptr_t>(to) % kVector;
    const std::uint8_t* group = PatternFrom(run, at);
    const Reg first = Lanes::Load(group);
    const Reg second = Lanes::Load(group + kVector);
    const Reg third = Lanes::Load(group + 2 * kVector);
    for (; at + 3 * kVector <= bytes; at += 3 * kVector) {
        Lanes::StoreAligned(to + at, first);
        Lanes::StoreAligned(to + at + kVector, second);
        Lanes::StoreAligned(to + at + 2 * kVector, third);
    }
    if (at + kVector <= bytes) {
        Lanes::StoreAligned(to + at, first);
        at += kVector;
        if (at + kVector <= bytes) {
            Lanes::StoreAligned(to + at, second);
            at += kVector;
        }
    }
    if (at < bytes) {
        Lanes::Store(to + bytes - kVector, Lanes::Load(PatternFrom(run, bytes - kVector)));
    }
}

template <class Lanes>
void FillRunWith(const FillRun& run) {
    for (int row = 0; row < run.rows; ++row) {
        FillRow<Lanes>(run.first + row * run.pitch, run.rowBytes, run);
    }
}

}  // namespace
}  // namespace platform
