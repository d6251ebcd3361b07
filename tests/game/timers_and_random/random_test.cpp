// SPDX-License-Identifier: MIT
#include "random.h"

#include <gtest/gtest.h>

using namespace zelto;

TEST(Random, IsTheCommonLinearCongruentialGenerator) {
    SeedRandom(1);
    EXPECT_EQ(Random(), 41);
    EXPECT_EQ(Random(), 18467);
    EXPECT_EQ(Random(), 6334);
    EXPECT_EQ(Random(), 26500);
    SeedRandom(0xFFFFFFFFu);
    for (int i = 0; i < 1000; ++i) {
        const int value = Random();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 0x7FFF);
    }
}
