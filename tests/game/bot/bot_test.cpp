// The bot plays the game from the intro through the fake host, steering with the mouse alone:
// the game must be winnable by mouse steering within five minutes for most starting seeds.

#include <gtest/gtest.h>

#include <cstdio>

#include "fake_host.h"
#include "game_bot.h"
#include "steering_policy.h"
#include "zelto.h"

using namespace platform;

namespace {

constexpr std::uint64_t kBlanksPerSecond = 60;
// Five minutes of game time from the click on the intro.
constexpr std::uint64_t kPlayBlanks = 5 * 60 * kBlanksPerSecond;

struct Outcome {
    bot::GameRecord record;
    std::int32_t criticalMassAfter = 0;
    int exitCode = -1;
};

Outcome PlayOneGame(std::int64_t timeOfDay) {
    FakeHost host;
    SetHost(&host);
    host.SetTimeOfDay(timeOfDay);
    host.SetPicturesKept(0);
    // Past the play time, the intro, the fades and the closing stage start.
    host.SetBlankLimit(kPlayBlanks + 2000);
    bot::GameBot player(kPlayBlanks);
    host.AtEveryBlank([&player](FakeHost& h) { player.OnBlank(h); });
    Outcome outcome;
    outcome.exitCode = WinMain(nullptr, nullptr, "", SW_SHOWNORMAL);
    outcome.record = player.Record();
    outcome.criticalMassAfter = CriticalMass;
    host.AtEveryBlank({});
    return outcome;
}

}  // namespace

TEST(GameBot, CompletesTheFirstStageWithinFiveMinutesForMostSeeds) {
    constexpr std::int64_t kSeeds[] = {
        1'700'000'000, 1'700'003'600, 1'700'086'400, 1'712'345'678, 1'723'456'789,
        1'734'567'890, 1'745'678'901, 1'756'789'012, 1'767'890'123, 1'778'901'234,
    };
    int completed = 0;
    std::printf("%14s %10s %11s %6s\n", "time of day", "time", "lives lost", "score");
    for (const std::int64_t seed : kSeeds) {
        const Outcome outcome = PlayOneGame(seed);
        const bot::GameRecord& record = outcome.record;
        EXPECT_EQ(outcome.exitCode, 0) << "seed " << seed;
        ASSERT_TRUE(record.clicked) << "seed " << seed;
        const bool won = record.completed && outcome.criticalMassAfter == 700;
        if (won) ++completed;
        const std::uint64_t blanks =
            (won ? record.completionBlank : record.clickBlank + kPlayBlanks) - record.clickBlank;
        std::printf("%14lld %6llu:%02llu %11d %6d%s\n", static_cast<long long>(seed),
                    static_cast<unsigned long long>(blanks / kBlanksPerSecond / 60),
                    static_cast<unsigned long long>(blanks / kBlanksPerSecond % 60),
                    record.livesLost, record.score,
                    won ? "" : (record.gameOver ? "  game over" : "  out of time"));
    }
    EXPECT_GE(completed, 8);
}
