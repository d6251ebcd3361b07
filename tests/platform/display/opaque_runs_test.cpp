// SPDX-License-Identifier: MIT
// The opaque runs of a keyed surface, held to the per-pixel key test, and the keyed copies
// (along runs, and by masked vector moves) held bit for bit to the plain per-pixel copy,
// with guard bytes around every rectangle.

#include "platform/display/opaque_runs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/display/pixel_blits.h"

using namespace platform;

namespace {

constexpr std::uint32_t kKey = 0x00A5C3E1;

enum class KeyPattern { None, All, Alternating, Random };

// A width x height picture of pixels of the given size at a padded pitch: key pixels laid out
// by the pattern, the others random and never equal to the key. The padding holds random
// bytes, and key values in places, which no run may take in.
struct Picture {
    Picture(int width, int height, int bytes, KeyPattern pattern, std::uint32_t seed)
        : width(width), height(height), bytes(bytes), pitch(width * bytes + 7) {
        memory.resize(static_cast<std::size_t>(pitch) * height);
        for (auto& byte : memory) byte = static_cast<std::uint8_t>(Next(seed) >> 24);
        const std::uint32_t key = kKey & PixelValueMask(bytes);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                bool keyed = false;
                switch (pattern) {
                    case KeyPattern::None:
                        break;
                    case KeyPattern::All:
                        keyed = true;
                        break;
                    case KeyPattern::Alternating:
                        keyed = (x + y) % 2 == 0;
                        break;
                    case KeyPattern::Random:
                        // Runs of every length: long stretches of either kind, broken often.
                        keyed = Next(seed) % 7 < 3;
                        break;
                }
                std::uint8_t* at = Pixel(x, y);
                if (keyed) {
                    WritePixel(at, bytes, key);
                } else if (ReadPixel(at, bytes) == key) {
                    WritePixel(at, bytes, key ^ 1u);
                }
            }
        }
    }
    static std::uint32_t Next(std::uint32_t& seed) {
        seed = seed * 1664525u + 1013904223u;
        return seed;
    }
    std::uint8_t* Pixel(int x, int y) {
        return memory.data() + static_cast<std::ptrdiff_t>(y) * pitch + x * bytes;
    }
    ConstPixelSpan Span(int x = 0, int y = 0) { return {Pixel(x, y), pitch}; }

    int width;
    int height;
    int bytes;
    int pitch;
    std::vector<std::uint8_t> memory;
};

// A destination with guard bytes on every side of where a window lands.
struct Target {
    static constexpr int kGuard = 9;
    Target(int width, int height, int bytes)
        : bytes(bytes), pitch(width * bytes + 2 * kGuard), memory(pitch * (height + 2), 0x5A) {
        std::uint32_t seed = 3;
        for (auto& byte : memory) byte = static_cast<std::uint8_t>(Picture::Next(seed) >> 24);
    }
    PixelSpan Span() { return {memory.data() + pitch + kGuard, pitch}; }

    int bytes;
    int pitch;
    std::vector<std::uint8_t> memory;
};

}  // namespace

TEST(OpaqueRuns, RunsHoldExactlyThePixelsThatDifferFromTheKey) {
    for (int bytes = 1; bytes <= 4; ++bytes) {
        for (KeyPattern pattern :
             {KeyPattern::None, KeyPattern::All, KeyPattern::Alternating, KeyPattern::Random}) {
            for (int width : {1, 2, 31, 33, 100}) {
                Picture picture(width, 5, bytes, pattern, 11u + width);
                const auto table =
                    OpaqueRuns::Build(picture.Span(), width, 5, bytes, kKey, 0xFFFFFFFFu);
                ASSERT_TRUE(table);
                for (int y = 0; y < 5; ++y) {
                    std::vector<bool> opaque(width, false);
                    int lastEnd = -1;
                    for (auto i = table->rowFirst()[y]; i < table->rowFirst()[y + 1]; ++i) {
                        const OpaqueRun run = table->runs()[i];
                        // Runs are separate, ordered, non-empty and never touch each other.
                        ASSERT_GT(run.length, 0);
                        ASSERT_GT(static_cast<int>(run.start), lastEnd);
                        lastEnd = run.start + run.length;
                        ASSERT_LE(lastEnd, width);
                        for (int x = run.start; x < lastEnd; ++x) opaque[x] = true;
                    }
                    for (int x = 0; x < width; ++x) {
                        const bool differs =
                            ReadPixel(picture.Pixel(x, y), bytes) != (kKey & PixelValueMask(bytes));
                        ASSERT_EQ(opaque[x], differs) << bytes << " bytes, x " << x << " y " << y;
                    }
                }
            }
        }
    }
}

TEST(OpaqueRuns, ComparedBitsLeaveTheOthersOutOfTheTest) {
    // Four-byte pixels whose fourth byte differs but whose colour bytes are the key's.
    std::uint32_t pixels[3] = {0x01A5C3E1, 0x00A5C3E1, 0x00000001};
    const auto table =
        OpaqueRuns::Build({reinterpret_cast<std::uint8_t*>(pixels), 12}, 3, 1, 4, kKey, 0x00FFFFFF);
    ASSERT_TRUE(table);
    ASSERT_EQ(table->rowFirst()[1], 1u);
    EXPECT_EQ(table->runs()[0].start, 2);
    EXPECT_EQ(table->runs()[0].length, 1);
}

TEST(OpaqueRuns, BadShapesAreRefused) {
    std::uint8_t pixel[4] = {};
    EXPECT_FALSE(OpaqueRuns::Build({pixel, 4}, 1, 1, 0, 0, ~0u));
    EXPECT_FALSE(OpaqueRuns::Build({pixel, 4}, 1, 1, 5, 0, ~0u));
    EXPECT_FALSE(OpaqueRuns::Build({pixel, 4}, -1, 1, 2, 0, ~0u));
    EXPECT_FALSE(OpaqueRuns::Build({pixel, 4}, 1, -1, 2, 0, ~0u));
    EXPECT_FALSE(OpaqueRuns::Build({nullptr, 4}, 1, 1, 2, 0, ~0u));
    // Wider than 16-bit columns hold: refused before any pixel is read.
    EXPECT_FALSE(OpaqueRuns::Build({pixel, 0}, OpaqueRuns::kMaxWidth + 1, 1, 1, 0, ~0u));

    Picture picture(8, 4, 2, KeyPattern::Random, 5);
    const auto table = OpaqueRuns::Build(picture.Span(), 8, 4, 2, kKey, ~0u);
    ASSERT_TRUE(table);
    Target target(8, 4, 2);
    const auto before = target.memory;
    for (const RunWindow outside :
         {RunWindow{-1, 0, 4, 4}, RunWindow{0, -1, 4, 4}, RunWindow{5, 0, 4, 4},
          RunWindow{0, 1, 8, 4}, RunWindow{0, 0, -1, 1}}) {
        EXPECT_FALSE(CopyOpaqueRuns(*table, outside, picture.Span(), target.Span()));
    }
    EXPECT_EQ(target.memory, before);
}

TEST(OpaqueRuns, CopyOfAnyWindowMatchesThePlainKeyedCopy) {
    for (int bytes = 1; bytes <= 4; ++bytes) {
        for (KeyPattern pattern :
             {KeyPattern::None, KeyPattern::All, KeyPattern::Alternating, KeyPattern::Random}) {
            // A sheet of 70 x 40 with windows at and off its frame grid, cutting runs at both
            // edges, odd and even sizes, down to a single pixel and up to the whole sheet.
            Picture sheet(70, 40, bytes, pattern, 29u * bytes);
            const auto table = OpaqueRuns::Build(sheet.Span(), 70, 40, bytes, kKey, ~0u);
            ASSERT_TRUE(table);
            for (const RunWindow window :
                 {RunWindow{0, 0, 70, 40}, RunWindow{32, 0, 32, 32}, RunWindow{33, 5, 31, 17},
                  RunWindow{1, 1, 1, 1}, RunWindow{63, 8, 7, 32}, RunWindow{5, 39, 64, 1},
                  RunWindow{17, 3, 0, 4}}) {
                Target fast(window.width, window.height, bytes);
                Target plain = fast;
                ASSERT_TRUE(CopyOpaqueRuns(*table, window, sheet.Span(window.left, window.top),
                                           fast.Span()));
                CopyPixelsKeyedReference(sheet.Span(window.left, window.top), plain.Span(),
                                         window.width, window.height, bytes, kKey);
                ASSERT_EQ(fast.memory, plain.memory)
                    << bytes << " bytes, window at " << window.left << "," << window.top << " "
                    << window.width << " x " << window.height;
            }
        }
    }
}

TEST(KeyedCopy, VectorAndMaskedCopiesMatchThePlainOneAtEveryWidthAndPattern) {
    for (int bytes = 1; bytes <= 4; ++bytes) {
        for (KeyPattern pattern :
             {KeyPattern::None, KeyPattern::All, KeyPattern::Alternating, KeyPattern::Random}) {
            for (int width = 1; width <= 70; ++width) {
                Picture source(width, 3, bytes, pattern, 41u * width + bytes);
                Target fast(width, 3, bytes);
                Target plain = fast;
                CopyPixelsKeyed(source.Span(), fast.Span(), width, 3, bytes, kKey);
                CopyPixelsKeyedReference(source.Span(), plain.Span(), width, 3, bytes, kKey);
                ASSERT_EQ(fast.memory, plain.memory) << bytes << " bytes, width " << width;
            }
        }
    }
}
