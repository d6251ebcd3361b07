// SPDX-License-Identifier: MIT
// The world's measures, which the code derives from the screen's and the map view's: they must
// come out at the figures the game's rules are written in.

#include <gtest/gtest.h>

#include "game/world/world_measures.h"

using namespace zelto;

TEST(WorldMeasures, ThePlayAreaTheViewTestAndTheScrollHoldsComeOutAtTheRulesFigures) {
    EXPECT_EQ(kActorSize, 32);
    EXPECT_EQ(kPlayAreaRight, 465);
    EXPECT_EQ(kPlayAreaBottom, 444);
    EXPECT_EQ(kViewTestWidth, 478);
    EXPECT_EQ(kScrollHoldRight, 779);
    EXPECT_EQ(kScrollHoldBottom, 439);
}
