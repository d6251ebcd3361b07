// SPDX-License-Identifier: MIT
#include "game/timers_and_random/random.h"

#include <gtest/gtest.h>

using namespace zelto;

TEST(Random, IsTheCommonLinearCongruentialGenerator) {
    RandomNumbers random;
    random.Seed(1);
    EXPECT_EQ(random.Next(), 41);
    EXPECT_EQ(random.Next(), 18467);
    EXPECT_EQ(random.Next(), 6334);
    EXPECT_EQ(random.Next(), 26500);
    random.Seed(0xFFFFFFFFu);
    for (int i = 0; i < 1000; ++i) {
        const int value = random.Next();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 0x7FFF);
    }
}
