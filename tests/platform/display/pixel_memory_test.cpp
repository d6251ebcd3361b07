// SPDX-License-Identifier: MIT
#include "platform/display/pixel_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

using namespace platform;

namespace {

// Small blocks from the heap, large ones mapped: both zeroed, writable end to end, and handed
// over whole by a move or a swap (a slip in either shows under the sanitizers and valgrind).
TEST(PixelMemory, BlocksOfEitherKindAreZeroedWritableAndMoveWhole) {
    for (std::size_t size : {std::size_t{1}, std::size_t{4099}, PixelMemory::kMappedFrom - 1,
                             PixelMemory::kMappedFrom, std::size_t{640 * 480 * 2 + 17}}) {
        SCOPED_TRACE(size);
        PixelMemory memory(size);
        ASSERT_EQ(memory.size(), size);
        ASSERT_NE(memory.data(), nullptr);
        EXPECT_TRUE(std::all_of(memory.begin(), memory.end(), [](auto byte) { return byte == 0; }));
        std::fill(memory.begin(), memory.end(), std::uint8_t{0xA5});

        PixelMemory moved(std::move(memory));
        EXPECT_EQ(memory.size(), 0u);
        EXPECT_EQ(memory.data(), nullptr);
        ASSERT_EQ(moved.size(), size);
        EXPECT_EQ(moved.data()[size - 1], 0xA5);

        PixelMemory other(3);
        other.swap(moved);
        EXPECT_EQ(moved.size(), 3u);
        EXPECT_EQ(other.size(), size);
        EXPECT_EQ(other.data()[0], 0xA5);
        other = PixelMemory(5);
        EXPECT_EQ(other.size(), 5u);
    }
    PixelMemory empty(0);
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_EQ(empty.begin(), empty.end());
}

}  // namespace
