// SPDX-License-Identifier: MIT
#include "game/timers_and_random/timerlist.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_host.h"

using platform::FakeHost;

namespace {

using namespace zelto;

int halfSecondCalls = 0;
int secondCalls = 0;
void HalfSecond() {
    ++halfSecondCalls;
}
void Second() {
    ++secondCalls;
}

class TimerListTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetHost(&host);
        halfSecondCalls = 0;
        secondCalls = 0;
    }
    FakeHost host;
};

}  // namespace

TEST_F(TimerListTest, CatchesUpWholeIntervalsAndDropsTheRest) {
    TimerList timers;
    timers.AddTimer(HalfSecond, 500);
    timers.StartAll();
    const std::int64_t started = timers.Entries[0].LastCount;
    host.AdvanceMilliseconds(1250);
    timers.Update();
    EXPECT_EQ(halfSecondCalls, 2);
    EXPECT_EQ(timers.Entries[0].LastCount, started + 1250 * FakeHost::kCounterFrequency / 1000);
    // The next firing is a full interval after that Update, not 250 ms.
    host.AdvanceMilliseconds(499);
    timers.Update();
    EXPECT_EQ(halfSecondCalls, 2);
    host.AdvanceMilliseconds(1);
    timers.Update();
    EXPECT_EQ(halfSecondCalls, 3);
}

TEST_F(TimerListTest, TenSecondsWithoutUpdateRunEachCallbackForEveryInterval) {
    TimerList timers;
    timers.AddTimer(Second, 1000);
    timers.AddTimer(HalfSecond, 500);
    timers.StartAll();
    host.AdvanceMilliseconds(10000);
    timers.Update();
    EXPECT_EQ(secondCalls, 10);
    EXPECT_EQ(halfSecondCalls, 20);
}

TEST_F(TimerListTest, EarlyUpdateCallsNothingAndKeepsTheCount) {
    TimerList timers;
    timers.StartTimer(timers.AddTimer(HalfSecond, 500));
    const std::int64_t started = timers.Entries[0].LastCount;
    host.AdvanceMilliseconds(499);
    timers.Update();
    EXPECT_EQ(halfSecondCalls, 0);
    EXPECT_EQ(timers.Entries[0].LastCount, started);
}

TEST_F(TimerListTest, EntriesRunOnlyWhileStarted) {
    TimerList timers;
    const TimerId halfSecond = timers.AddTimer(HalfSecond, 500);
    host.AdvanceMilliseconds(2000);
    timers.Update();
    EXPECT_EQ(halfSecondCalls, 0);
    timers.StartTimer(halfSecond);
    host.AdvanceMilliseconds(500);
    timers.Update();
    EXPECT_EQ(halfSecondCalls, 1);
    timers.StopTimer(halfSecond);
    host.AdvanceMilliseconds(5000);
    timers.Update();
    EXPECT_EQ(halfSecondCalls, 1);
}

TEST_F(TimerListTest, ACallbackMayAddEntriesWhileItRuns) {
    TimerList timers;
    int added = 0;
    // Each call adds entries enough to move the list, under the running callback's own entry.
    timers.AddTimer(
        [&timers, &added] {
            for (int i = 0; i < 64; ++i) timers.AddTimer(HalfSecond, 500);
            ++added;
        },
        500);
    timers.StartAll();
    host.AdvanceMilliseconds(1000);
    timers.Update();
    EXPECT_EQ(added, 2);
    EXPECT_EQ(timers.Entries.size(), 1u + 2 * 64);
    EXPECT_EQ(halfSecondCalls, 0);
}
