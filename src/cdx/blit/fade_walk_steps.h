// SPDX-License-Identifier: MIT
#pragma once

// The fade walks written once over the lanes types of pixel_lanes.h. Each level's file
// instantiates them with the lanes its instructions allow and defines that level's entry
// points, declared below: fade_walks.cpp with eight-pixel SSE2 lanes, fade_walks_avx2.cpp with
// sixteen-pixel AVX2 lanes. All but those entry points sits in an unnamed namespace, so that
// each of the two files keeps its own copy built for its own instruction set and the linker
// never hands one to the other.
//
// A step takes the channels of its pixels apart and scales each by one multiply high
// (_mm_mulhi_epu16): red shifted down to bit 0 and blue at bit 0 give the scaled channel
// itself, green in place gives it with its fraction in the bits below the field, which a mask
// drops. A cross-fade adds the two pictures' channels before it puts them back together, so
// the shift and the sums are made once for both.

#include <algorithm>
#include <cstring>

#include "cdx/blit/fade_walks.h"
#include "cdx/blit/pixel_lanes.h"

namespace cdx {

// The fade walks at each processor level; fade_walks.cpp picks one by the level in use. The
// baseline's take eight-pixel SSE2 steps, AVX2's sixteen-pixel steps.
void DarkenPixelsBaseline(const FadeFields& fields, std::uint32_t multiplier, FadePicture source,
                          FadePicture work, int columns, int rows);
void MixPixelsBaseline(const FadeFields& fields, std::uint32_t newerMultiplier,
                       std::uint32_t olderMultiplier, FadePicture older, FadePicture newer,
                       FadePicture work, int columns, int rows);
void DarkenPixelsAvx2(const FadeFields& fields, std::uint32_t multiplier, FadePicture source,
                      FadePicture work, int columns, int rows);
void MixPixelsAvx2(const FadeFields& fields, std::uint32_t newerMultiplier,
                   std::uint32_t olderMultiplier, FadePicture older, FadePicture newer,
                   FadePicture work, int columns, int rows);

namespace {

// Scaled channels of a pixel or a vector of pixels: red at bit 0, green and blue in place.
template <class Value>
struct ChannelsApart {
    Value red;
    Value green;
    Value blue;
};

// One level as a pixel at a time takes it, with the same arithmetic as the vector steps.
class LevelOfPixel {
public:
    LevelOfPixel(const FadeFields& fields, std::uint32_t multiplier)
        : fields_(fields), multiplier_(multiplier) {}
    ChannelsApart<std::uint32_t> Apart(const std::uint8_t* at) const {
        std::uint16_t pixel;
        std::memcpy(&pixel, at, sizeof pixel);
        return {FadeChannel(static_cast<std::uint32_t>(pixel >> fields_.redShift), multiplier_),
                FadeChannel(pixel & fields_.greenMask, multiplier_) & fields_.greenMask,
                FadeChannel(pixel & fields_.blueMask, multiplier_)};
    }
    void Store(std::uint8_t* at, const ChannelsApart<std::uint32_t>& channels) const {
        const auto pixel = static_cast<std::uint16_t>((channels.red << fields_.redShift) +
                                                      channels.green + channels.blue);
        std::memcpy(at, &pixel, sizeof pixel);
    }

private:
    FadeFields fields_;
    std::uint32_t multiplier_;
};

// One level as a vector step takes it. A kept level (multiplier kFadeUnit, which 16 bits do
// not hold) only takes the channels apart.
template <class V, bool Kept>
class LevelOfLanes {
public:
    LevelOfLanes(const FadeFields& fields, std::uint32_t multiplier)
        : redShift_(V::ShiftCount(fields.redShift)),
          green_(V::Splat(fields.greenMask)),
          blue_(V::Splat(fields.blueMask)),
          multiplier_(V::Splat(static_cast<std::uint16_t>(multiplier))) {}
    ChannelsApart<typename V::Reg> Apart(const std::uint8_t* at) const {
        const typename V::Reg pixels = V::Load(at);
        const typename V::Reg red = V::ShiftRightBy(pixels, redShift_);
        const typename V::Reg green = V::And(pixels, green_);
        const typename V::Reg blue = V::And(pixels, blue_);
        if constexpr (Kept) return {red, green, blue};
        return {V::MulHighUnsigned(red, multiplier_),
                V::And(V::MulHighUnsigned(green, multiplier_), green_),
                V::MulHighUnsigned(blue, multiplier_)};
    }
    void Store(std::uint8_t* at, const ChannelsApart<typename V::Reg>& channels) const {
        V::Store(at, V::Add(V::Add(V::ShiftLeftBy(channels.red, redShift_), channels.green),
                            channels.blue));
    }

private:
    typename V::Count redShift_;
    typename V::Reg green_, blue_, multiplier_;
};

template <class Value>
ChannelsApart<Value> Sum(const ChannelsApart<Value>& a, const ChannelsApart<Value>& b) {
    return {a.red + b.red, a.green + b.green, a.blue + b.blue};
}
template <class V>
ChannelsApart<typename V::Reg> SumOfLanes(const ChannelsApart<typename V::Reg>& a,
                                          const ChannelsApart<typename V::Reg>& b) {
    return {V::Add(a.red, b.red), V::Add(a.green, b.green), V::Add(a.blue, b.blue)};
}

// A row goes in wide steps, two at a time (their multiplies overlap) and then one, then at most
// one narrow step, then pixel by pixel.
template <class Wide, class Narrow, bool Kept>
void DarkenRows(const FadeFields& fields, std::uint32_t multiplier, FadePicture source,
                FadePicture work, int columns, int rows) {
    const LevelOfLanes<Wide, Kept> wide(fields, multiplier);
    const LevelOfLanes<Narrow, Kept> narrow(fields, multiplier);
    const LevelOfPixel single(fields, multiplier);
    constexpr int kStepBytes = 2 * Wide::kPixels;
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* from = source.pixels + y * source.pitch;
        std::uint8_t* to = work.pixels + y * work.pitch;
        int x = 0;
        for (; x + 2 * Wide::kPixels <= columns; x += 2 * Wide::kPixels) {
            const auto left = wide.Apart(from + 2 * x);
            const auto right = wide.Apart(from + 2 * x + kStepBytes);
            wide.Store(to + 2 * x, left);
            wide.Store(to + 2 * x + kStepBytes, right);
        }
        for (; x + Wide::kPixels <= columns; x += Wide::kPixels) {
            wide.Store(to + 2 * x, wide.Apart(from + 2 * x));
        }
        for (; x + Narrow::kPixels <= columns; x += Narrow::kPixels) {
            narrow.Store(to + 2 * x, narrow.Apart(from + 2 * x));
        }
        for (; x < columns; ++x) single.Store(to + 2 * x, single.Apart(from + 2 * x));
    }
}

template <class Wide, class Narrow, bool NewerKept, bool OlderKept>
void MixRows(const FadeFields& fields, std::uint32_t newerMultiplier, std::uint32_t olderMultiplier,
             FadePicture older, FadePicture newer, FadePicture work, int columns, int rows) {
    const LevelOfLanes<Wide, NewerKept> wideNewer(fields, newerMultiplier);
    const LevelOfLanes<Wide, OlderKept> wideOlder(fields, olderMultiplier);
    const LevelOfLanes<Narrow, NewerKept> narrowNewer(fields, newerMultiplier);
    const LevelOfLanes<Narrow, OlderKept> narrowOlder(fields, olderMultiplier);
    const LevelOfPixel singleNewer(fields, newerMultiplier);
    const LevelOfPixel singleOlder(fields, olderMultiplier);
    constexpr int kStepBytes = 2 * Wide::kPixels;
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* olderRow = older.pixels + y * older.pitch;
        const std::uint8_t* newerRow = newer.pixels + y * newer.pitch;
        std::uint8_t* workRow = work.pixels + y * work.pitch;
        int x = 0;
        for (; x + 2 * Wide::kPixels <= columns; x += 2 * Wide::kPixels) {
            const auto left = SumOfLanes<Wide>(wideNewer.Apart(newerRow + 2 * x),
                                               wideOlder.Apart(olderRow + 2 * x));
            const auto right = SumOfLanes<Wide>(wideNewer.Apart(newerRow + 2 * x + kStepBytes),
                                                wideOlder.Apart(olderRow + 2 * x + kStepBytes));
            wideNewer.Store(workRow + 2 * x, left);
            wideNewer.Store(workRow + 2 * x + kStepBytes, right);
        }
        for (; x + Wide::kPixels <= columns; x += Wide::kPixels) {
            wideNewer.Store(workRow + 2 * x, SumOfLanes<Wide>(wideNewer.Apart(newerRow + 2 * x),
                                                              wideOlder.Apart(olderRow + 2 * x)));
        }
        for (; x + Narrow::kPixels <= columns; x += Narrow::kPixels) {
            narrowNewer.Store(workRow + 2 * x,
                              SumOfLanes<Narrow>(narrowNewer.Apart(newerRow + 2 * x),
                                                 narrowOlder.Apart(olderRow + 2 * x)));
        }
        for (; x < columns; ++x) {
            singleNewer.Store(workRow + 2 * x, Sum(singleNewer.Apart(newerRow + 2 * x),
                                                   singleOlder.Apart(olderRow + 2 * x)));
        }
    }
}

// What each level's entry points call: the kept levels picked out, the rest scaled.
template <class Wide, class Narrow>
void DarkenPixelsWith(const FadeFields& fields, std::uint32_t multiplier, FadePicture source,
                      FadePicture work, int columns, int rows) {
    if (multiplier >= kFadeUnit) {
        return DarkenRows<Wide, Narrow, true>(fields, kFadeUnit, source, work, columns, rows);
    }
    DarkenRows<Wide, Narrow, false>(fields, multiplier, source, work, columns, rows);
}

template <class Wide, class Narrow>
void MixPixelsWith(const FadeFields& fields, std::uint32_t newerMultiplier,
                   std::uint32_t olderMultiplier, FadePicture older, FadePicture newer,
                   FadePicture work, int columns, int rows) {
    const std::uint32_t newerLevel = std::min(newerMultiplier, kFadeUnit);
    const std::uint32_t olderLevel = std::min(olderMultiplier, kFadeUnit);
    const bool newerKept = newerLevel == kFadeUnit;
    const bool olderKept = olderLevel == kFadeUnit;
    if (newerKept && olderKept) {
        return MixRows<Wide, Narrow, true, true>(fields, newerLevel, olderLevel, older, newer, work,
                                                 columns, rows);
    }
    if (newerKept) {
        return MixRows<Wide, Narrow, true, false>(fields, newerLevel, olderLevel, older, newer,
                                                  work, columns, rows);
    }
    if (olderKept) {
        return MixRows<Wide, Narrow, false, true>(fields, newerLevel, olderLevel, older, newer,
                                                  work, columns, rows);
    }
    MixRows<Wide, Narrow, false, false>(fields, newerLevel, olderLevel, older, newer, work, columns,
                                        rows);
}

}  // namespace

}  // namespace cdx
