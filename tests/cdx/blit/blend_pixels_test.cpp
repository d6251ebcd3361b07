// SPDX-License-Identifier: MIT
// The blends and shadows over plain memory: every operation at every depth against a plain
// per-channel reference (blend_reference.h), on odd and even widths, padded pitches and keyed
// pixels mixed with unkeyed ones; and worked values computed by hand.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "blend_reference.h"
#include "cdx/blit/pixel_blend.h"
#include "platform/host/processor_features.h"

using namespace cdx;

namespace {

struct Scene {
    int width;
    int height;
    int sourcePadding;
    int destPadding;
};

// A source and a destination with random pixels drawn from a few values that include the key,
// so keyed and unkeyed pixels meet in every pairing; the destination is larger than the
// rectangle, and everything outside it must come through untouched.
class BlendCase {
public:
    BlendCase(PixelLayout layout, const Scene& scene, std::uint32_t key, unsigned seed)
        : layout_(layout), scene_(scene), bytes_(platform::PixelBytes(layout)) {
        std::mt19937 random(seed);
        sourcePitch_ = scene.width * bytes_ + scene.sourcePadding;
        destPitch_ = (scene.width + 3) * bytes_ + scene.destPadding;
        source_.resize(static_cast<std::size_t>(sourcePitch_) * scene.height);
        dest_.resize(static_cast<std::size_t>(destPitch_) * (scene.height + 2));
        alpha_.resize(static_cast<std::size_t>(scene.width + 1) * scene.height);
        for (auto& byte : dest_) byte = static_cast<std::uint8_t>(random());
        for (auto& byte : alpha_) byte = static_cast<std::uint8_t>(random());
        for (int y = 0; y < scene.height; ++y) {
            for (int x = 0; x < scene.width; ++x) {
                std::uint8_t* at = &source_[y * sourcePitch_ + x * bytes_];
                const std::uint32_t value = random() % 3 == 0 ? key : random();
                for (int i = 0; i < bytes_; ++i)
                    at[i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
        }
        alpha_[0] = 0;
        alpha_[1] = 255;
    }

    // Gives the first columns of every row weight 0 (the alpha map's fully transparent
    // pixels) and the next ones the source's key, so that whole vector steps can be skipped.
    void ClearAndKey(int clearedColumns, int keyedColumns, std::uint32_t key) {
        for (int y = 0; y < scene_.height; ++y) {
            for (int x = 0; x < clearedColumns; ++x) alpha_[y * (scene_.width + 1) + x] = 0;
            for (int x = clearedColumns; x < clearedColumns + keyedColumns; ++x) {
                std::uint8_t* at = &source_[y * sourcePitch_ + x * bytes_];
                for (int i = 0; i < bytes_; ++i) at[i] = static_cast<std::uint8_t>(key >> (8 * i));
            }
        }
    }

    BlendRects Rects(std::uint8_t* dest) const {
        BlendRects rects;
        rects.source = source_.data();
        rects.sourcePitch = sourcePitch_;
        rects.dest = dest + destPitch_ + bytes_;  // one row and one pixel in
        rects.destPitch = destPitch_;
        rects.alpha = alpha_.data();
        rects.alphaPitch = scene_.width + 1;
        rects.width = scene_.width;
        rects.height = scene_.height;
        return rects;
    }

    std::vector<std::uint8_t> Blended(const PixelBlend& blend) const {
        std::vector<std::uint8_t> dest = dest_;
        BlendPixels(Rects(dest.data()), layout_, blend);
        return dest;
    }

    std::vector<std::uint8_t> Reference(const PixelBlend& blend) const {
        std::vector<std::uint8_t> dest = dest_;
        const BlendRects rects = Rects(dest.data());
        for (int y = 0; y < scene_.height; ++y) {
            for (int x = 0; x < scene_.width; ++x) {
                ReferencePixel(layout_, blend, rects.source + y * rects.sourcePitch + x * bytes_,
                               rects.dest + y * rects.destPitch + x * bytes_,
                               rects.alpha[y * rects.alphaPitch + x]);
            }
        }
        return dest;
    }

private:
    PixelLayout layout_;
    Scene scene_;
    int bytes_;
    int sourcePitch_ = 0;
    int destPitch_ = 0;
    std::vector<std::uint8_t> source_;
    std::vector<std::uint8_t> dest_;
    std::vector<std::uint8_t> alpha_;
};

const PixelLayout kLayouts[] = {PixelLayout::Rgb555, PixelLayout::Rgb565, PixelLayout::Bgr24,
                                PixelLayout::Bgrx32};
const PixelOperation kOperations[] = {PixelOperation::Average, PixelOperation::Translucent,
                                      PixelOperation::AlphaMap, PixelOperation::Shadow,
                                      PixelOperation::HalfShadow};

TEST(BlendPixels, EveryOperationMatchesThePlainReferenceAtEveryDepth) {
    const Scene scenes[] = {{1, 3, 0, 0},  {2, 2, 2, 6},  {7, 4, 6, 2},   {8, 3, 0, 4},
                            {9, 5, 2, 0},  {16, 2, 4, 4}, {17, 3, 2, 2},  {31, 4, 0, 6},
                            {32, 2, 6, 0}, {33, 3, 4, 2}, {64, 33, 2, 2}, {70, 2, 0, 0}};
    const std::uint16_t levels[] = {0, 1, 77, 128, 255, 256, 300, 1000};
    unsigned seed = 1;
    for (const PixelLayout layout : kLayouts) {
        const std::uint32_t key = platform::PixelBytes(layout) == 2 ? 0x7C1F : 0x10FF20;
        for (const Scene& scene : scenes) {
            const BlendCase blendCase(layout, scene, key, seed++);
            for (const PixelOperation operation : kOperations) {
                for (const std::uint16_t level : levels) {
                    for (const bool keyed : {false, true}) {
                        PixelBlend blend{operation, level, std::nullopt};
                        if (keyed) blend.key = key;
                        ASSERT_EQ(blendCase.Blended(blend), blendCase.Reference(blend))
                            << "layout " << static_cast<int>(layout) << " operation "
                            << static_cast<int>(operation) << " width " << scene.width << " level "
                            << level << " keyed " << keyed;
                    }
                }
            }
        }
    }
}

// Caps the processor level in use for as long as it lives: the blends take the steps of that
// level or a lower one.
class LevelCap {
public:
    explicit LevelCap(platform::ProcessorLevel level) { platform::CapProcessorLevel(level); }
    ~LevelCap() { platform::CapProcessorLevel(std::nullopt); }
    LevelCap(const LevelCap&) = delete;
    LevelCap& operator=(const LevelCap&) = delete;
};

bool LevelInUse(platform::ProcessorLevel level) {
    return platform::ProcessorLevelInUse() >= level;
}

// Widths around the sixteen- and eight-pixel steps and their tails, with runs of transparent
// weights and of keyed source pixels long enough to skip whole steps, on the 16-bit layouts.
void ExpectVectorStepsMatchTheReference() {
    const Scene scenes[] = {{15, 3, 2, 0}, {16, 2, 0, 2}, {23, 3, 4, 0}, {24, 2, 0, 0},
                            {25, 3, 2, 2}, {39, 2, 0, 4}, {47, 3, 2, 0}, {48, 2, 6, 2},
                            {63, 4, 0, 0}, {64, 3, 2, 2}, {80, 2, 0, 6}};
    const std::uint16_t levels[] = {0, 1, 100, 128, 255, 256};
    unsigned seed = 500;
    for (const PixelLayout layout : {PixelLayout::Rgb555, PixelLayout::Rgb565}) {
        const std::uint32_t key = 0x7C1F;
        for (const Scene& scene : scenes) {
            BlendCase blendCase(layout, scene, key, seed++);
            blendCase.ClearAndKey(scene.width / 3, scene.width / 3, key);
            for (const PixelOperation operation : kOperations) {
                for (const std::uint16_t level : levels) {
                    for (const bool keyed : {false, true}) {
                        PixelBlend blend{operation, level, std::nullopt};
                        if (keyed) blend.key = key;
                        ASSERT_EQ(blendCase.Blended(blend), blendCase.Reference(blend))
                            << "layout " << static_cast<int>(layout) << " operation "
                            << static_cast<int>(operation) << " width " << scene.width << " level "
                            << level << " keyed " << keyed;
                    }
                }
            }
        }
    }
}

TEST(BlendPixels, TheVectorStepsMatchThePlainReference) {
    ExpectVectorStepsMatchTheReference();
}

TEST(BlendPixels, TheEightPixelStepsMatchThePlainReferenceWhereWideOnesExist) {
    if (!LevelInUse(platform::ProcessorLevel::kAvx2)) GTEST_SKIP() << "eight-pixel steps only";
    const LevelCap narrow(platform::ProcessorLevel::kSse2);
    ExpectVectorStepsMatchTheReference();
}

TEST(BlendPixels, TheSixteenPixelStepsMatchThePlainReferenceWhereMaskedOnesExist) {
    if (!LevelInUse(platform::ProcessorLevel::kAvx512)) GTEST_SKIP() << "no masked steps";
    const LevelCap sixteen(platform::ProcessorLevel::kAvx2);
    ExpectVectorStepsMatchTheReference();
}

// Every width up to two of the widest steps and more, at the level the suite runs at: the
// last step of a row overlaps the one before by every amount, and rows narrower than a step
// take the narrower steps or pairs.
TEST(BlendPixels, VectorStepsMatchAtEveryWidth) {
    for (const PixelLayout layout : {PixelLayout::Rgb555, PixelLayout::Rgb565}) {
        for (int width = 1; width <= 70; ++width) {
            BlendCase blendCase(layout, Scene{width, 2, 2, 2}, 0x7C1F, 900 + width);
            // Cleared and keyed stretches in the middle of even rows and at the end of odd ones.
            const int cleared = width % 2 == 0 ? width / 3 : width / 2;
            blendCase.ClearAndKey(cleared, width % 2 == 0 ? width / 3 : width - cleared, 0x7C1F);
            for (const PixelOperation operation : kOperations) {
                // 128 is the translucent blend's half blend, which has steps of its own.
                for (const std::uint16_t level : {77, 128}) {
                    const PixelBlend blend{operation, level, 0x7C1Fu};
                    ASSERT_EQ(blendCase.Blended(blend), blendCase.Reference(blend))
                        << "operation " << static_cast<int>(operation) << " width " << width
                        << " level " << level;
                }
            }
        }
    }
}

TEST(BlendPixels, AKeyWiderThanThePixelNeverMatches) {
    for (const PixelLayout layout : kLayouts) {
        const std::uint32_t key = platform::PixelBytes(layout) == 2 ? 0x17C1F : 0x110FF20;
        const BlendCase blendCase(layout, Scene{13, 3, 2, 2}, key, 99);
        const PixelBlend keyed{PixelOperation::Average, 0, key};
        const PixelBlend plain{PixelOperation::Average, 0, std::nullopt};
        EXPECT_EQ(blendCase.Blended(keyed), blendCase.Blended(plain));
    }
}

// One 16-bit pixel s blended onto d; the pixel is placed second in a pair and first alone,
// so that the lone, pair and eight-wide forms all give the same answer.
std::uint16_t Blend16(PixelLayout layout, PixelOperation operation, std::uint16_t s,
                      std::uint16_t d, std::uint16_t level, std::uint8_t alpha = 0) {
    std::uint16_t answers[3] = {};
    const int widths[] = {1, 2, 9};
    for (int i = 0; i < 3; ++i) {
        std::vector<std::uint16_t> source(widths[i], s);
        std::vector<std::uint16_t> dest(widths[i], d);
        std::vector<std::uint8_t> weights(widths[i], alpha);
        BlendRects rects;
        rects.source = reinterpret_cast<const std::uint8_t*>(source.data());
        rects.dest = reinterpret_cast<std::uint8_t*>(dest.data());
        rects.alpha = weights.data();
        rects.width = widths[i];
        rects.height = 1;
        BlendPixels(rects, layout, PixelBlend{operation, level, std::nullopt});
        answers[i] = dest.back();
    }
    EXPECT_EQ(answers[0], answers[1]);
    EXPECT_EQ(answers[0], answers[2]);
    return answers[0];
}

TEST(BlendPixels, WorkedValuesByHand) {
    const auto k565 = PixelLayout::Rgb565;
    const auto k555 = PixelLayout::Rgb555;
    // Average: both halves lose their lowest bit first.
    EXPECT_EQ(Blend16(k565, PixelOperation::Average, 0xFFFF, 0x0000, 0), 0x7BEF);
    EXPECT_EQ(Blend16(k565, PixelOperation::Average, 0xF800, 0xF800, 0), 0xF000);
    // Translucent: level is the destination's weight; above 256 acts as 256.
    EXPECT_EQ(Blend16(k555, PixelOperation::Translucent, 0x1234, 0x4321, 0), 0x1234);
    EXPECT_EQ(Blend16(k555, PixelOperation::Translucent, 0x1234, 0x4321, 256), 0x4321);
    EXPECT_EQ(Blend16(k555, PixelOperation::Translucent, 0x1234, 0x4321, 1000), 0x4321);
    EXPECT_EQ(Blend16(k555, PixelOperation::Translucent, 0x0000, 31 << 10, 128), 15 << 10);
    EXPECT_EQ(Blend16(k555, PixelOperation::Translucent, 31 << 10, 0x0000, 128), 15 << 10);
    EXPECT_EQ(Blend16(k555, PixelOperation::Translucent, 31 << 10, 0x0000, 1), 30 << 10);
    // Alpha: 0 leaves the destination, 255 comes within one step of the source.
    EXPECT_EQ(Blend16(k565, PixelOperation::AlphaMap, 0xFFFF, 0x1234, 0, 0), 0x1234);
    EXPECT_EQ(Blend16(k565, PixelOperation::AlphaMap, 31, 0, 0, 255), 30);
    // Shadows.
    EXPECT_EQ(Blend16(k565, PixelOperation::Shadow, 0, 0xFFFF, 256), 0xFFFF);
    EXPECT_EQ(Blend16(k565, PixelOperation::Shadow, 0, 0xFFFF, 300), 0xFFFF);
    EXPECT_EQ(Blend16(k565, PixelOperation::Shadow, 0, 0xFFFF, 0), 0x0000);
    EXPECT_EQ(Blend16(k565, PixelOperation::Shadow, 0, 0xFFFF, 128), 0x7BEF);
    EXPECT_EQ(Blend16(k555, PixelOperation::Shadow, 0, 31 << 10, 192), 23 << 10);
    EXPECT_EQ(Blend16(k565, PixelOperation::HalfShadow, 0, 0xFFFF, 0), 0x7BEF);
    EXPECT_EQ(Blend16(k565, PixelOperation::HalfShadow, 0, 0x0821, 0), 0x0000);
}

TEST(BlendPixels, AKeyedPixelBesideAnUnkeyedOneKeepsItsBits) {
    for (const PixelOperation operation : kOperations) {
        const std::uint16_t source[2] = {0x0001, 0xFFFF};  // keyed, then unkeyed
        std::uint16_t dest[2] = {0xA5A5, 0x5A5A};
        const std::uint8_t weights[2] = {200, 200};
        BlendRects rects;
        rects.source = reinterpret_cast<const std::uint8_t*>(source);
        rects.dest = reinterpret_cast<std::uint8_t*>(dest);
        rects.alpha = weights;
        rects.width = 2;
        rects.height = 1;
        BlendPixels(rects, PixelLayout::Rgb565, PixelBlend{operation, 100, 0x0001u});
        EXPECT_EQ(dest[0], 0xA5A5) << static_cast<int>(operation);
        EXPECT_NE(dest[1], 0x5A5A) << static_cast<int>(operation);
    }
}

TEST(BlendPixels, TheFourthByteOfA32BitPixelIsNeverWritten) {
    for (const PixelOperation operation : kOperations) {
        const std::uint32_t source[3] = {0xFF123456, 0x00FFFFFF, 0x77000000};
        std::uint32_t dest[3] = {0xAB000000, 0xCDFFFFFF, 0xEF808080};
        const std::uint8_t weights[3] = {255, 128, 7};
        BlendRects rects;
        rects.source = reinterpret_cast<const std::uint8_t*>(source);
        rects.dest = reinterpret_cast<std::uint8_t*>(dest);
        rects.alpha = weights;
        rects.width = 3;
        rects.height = 1;
        BlendPixels(rects, PixelLayout::Bgrx32, PixelBlend{operation, 0, std::nullopt});
        EXPECT_EQ(dest[0] >> 24, 0xABu);
        EXPECT_EQ(dest[1] >> 24, 0xCDu);
        EXPECT_EQ(dest[2] >> 24, 0xEFu);
    }
}

TEST(BlendPixels, LayoutsByDepth) {
    EXPECT_EQ(LayoutForDepth(15), PixelLayout::Rgb555);
    EXPECT_EQ(LayoutForDepth(16), PixelLayout::Rgb565);
    EXPECT_EQ(LayoutForDepth(24), PixelLayout::Bgr24);
    EXPECT_EQ(LayoutForDepth(32), PixelLayout::Bgrx32);
    for (const std::uint32_t depth : {0u, 1u, 8u, 17u, 23u, 25u, 31u, 33u}) {
        EXPECT_FALSE(LayoutForDepth(depth).has_value()) << depth;
    }
}

}  // namespace
