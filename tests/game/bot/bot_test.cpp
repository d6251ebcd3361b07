// SPDX-License-Identifier: MIT
// The bot: its steering in worlds that stand still, its rules of motion against the game's,
// and whole games played from the intro through the fake host with the mouse alone, which
// must mostly complete the first stage within five minutes of game time.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "game/spine/zelto.h"
#include "game_bot.h"
#include "platform/fake/fake_host.h"
#include "steering_policy.h"

using namespace platform;
using bot::Course;
using bot::PlayerMotion;
using bot::Sight;
using bot::SteeringPolicy;
using bot::WorldPoint;

namespace {

using namespace zelto;

constexpr std::uint64_t kBlanksPerSecond = 60;
// Five minutes of game time from the click on the intro.
constexpr std::uint64_t kPlayBlanks = 5 * 60 * kBlanksPerSecond;

// Where every stage starts: the player at (250, 240) on the screen, the map scrolled to
// (390, 240), at rest.
constexpr PlayerMotion kStageStart{250, 240, 0, 0, 390, 240};

bool Touches(WorldPoint a, WorldPoint b) {
    return std::abs(a.x - b.x) <= 32 && std::abs(a.y - b.y) <= 32;
}

struct Trial {
    int framesToCollect = 0;  // 0: nothing collected
    bool touchedEnemy = false;
    int edgeRubs = 0;
    bool coursesSteer = true;  // every course had both components set, within top speed
    WorldPoint end;
};

// Follows the policy's courses for up to `frames` frames under the rules of motion, in a world
// where nothing moves; a collected particle leaves play and the trial goes on.
Trial Follow(Sight sight, int frames) {
    SteeringPolicy policy;
    Trial trial;
    for (int frame = 1; frame <= frames && !trial.touchedEnemy; ++frame) {
        const Course course = policy.Choose(sight);
        trial.coursesSteer = trial.coursesSteer && course.velX != 0 && course.velY != 0 &&
                             std::abs(course.velX) <= SteeringPolicy::kTopSpeed &&
                             std::abs(course.velY) <= SteeringPolicy::kTopSpeed;
        trial.edgeRubs += bot::StepMotion(sight.player, course);
        const WorldPoint player = sight.player.World();
        for (const WorldPoint& enemy : sight.enemies) {
            trial.touchedEnemy = trial.touchedEnemy || Touches(player, enemy);
        }
        std::erase_if(sight.particles, [&](WorldPoint particle) {
            if (!Touches(player, particle)) return false;
            if (trial.framesToCollect == 0) trial.framesToCollect = frame;
            return true;
        });
    }
    trial.end = sight.player.World();
    return trial;
}

}  // namespace

TEST(SteeringPolicy, MakesStraightForAParticleInTheOpenAtTopSpeed) {
    Sight sight{kStageStart, {}, {{940, 680}}};
    // 268 pixels to the touching range on the longer axis, at six a frame, plus the first frame
    // that still moves by the course held.
    const Trial trial = Follow(sight, 60);
    EXPECT_GT(trial.framesToCollect, 0);
    EXPECT_LE(trial.framesToCollect, 47);
    EXPECT_TRUE(trial.coursesSteer);
}

TEST(SteeringPolicy, GoesAroundAWallOfEnemiesWithoutTouchingOne) {
    Sight sight{kStageStart, {}, {{950, 480}}};
    // A wall across the way: 40 pixels apart, no gap lets the player through.
    for (std::int32_t y = 240; y <= 720; y += 40) sight.enemies.push_back({800, y});
    const Trial trial = Follow(sight, 300);
    EXPECT_FALSE(trial.touchedEnemy);
    EXPECT_GT(trial.framesToCollect, 0);
    EXPECT_EQ(trial.edgeRubs, 0);
    EXPECT_TRUE(trial.coursesSteer);
}

TEST(SteeringPolicy, TakesAParticleRightBesideAnEnemyAndGetsAway) {
    // A course that collects a particle can run into the enemy next to it in the frames after:
    // the player held at the top of the view, the map scrolling.
    Sight sight{{200, 50, -2, -6, 329, 208}, {{587, 239}, {643, 199}}, {{583, 234}}};
    const Trial trial = Follow(sight, 60);
    EXPECT_FALSE(trial.touchedEnemy);
    EXPECT_GT(trial.framesToCollect, 0);
}

TEST(SteeringPolicy, ReachesAParticleInTheBottomStripWithoutRubbingTheEdge) {
    // Near the bottom of the world the map still scrolls while the player moves on, so the
    // player closes in at twice its course; a course held past the particle would rub the
    // edge, and ranking that rub must not keep the player from taking the particle.
    Sight sight{{200, 428, 1, 1, 258, 456}, {{553, 832}, {518, 852}, {378, 841}}, {{487, 933}}};
    const Trial trial = Follow(sight, 60);
    EXPECT_GT(trial.framesToCollect, 0);
    EXPECT_LE(trial.framesToCollect, 20);
    EXPECT_EQ(trial.edgeRubs, 0);
    EXPECT_FALSE(trial.touchedEnemy);
}

TEST(SteeringPolicy, WithNothingToCollectWaitsInTheMiddleClearOfEnemiesAndEdges) {
    // From a corner of the world, among scattered enemies; a particle beyond the last view
    // position's reach (x over 1257) cannot be collected and must not draw the player away.
    Sight sight{{30, 30, -3, -3, 0, 0}, {}, {{1270, 480}}};
    for (std::int32_t i = 0; i < 40; ++i) {
        sight.enemies.push_back({(i * 337) % 1280, (i * 211) % 960});
    }
    std::erase_if(sight.enemies, [](WorldPoint enemy) {
        return Touches(enemy, {30, 30}) || Touches(enemy, {640, 480});
    });
    const Trial trial = Follow(sight, 900);
    EXPECT_FALSE(trial.touchedEnemy);
    EXPECT_EQ(trial.edgeRubs, 0);
    EXPECT_EQ(trial.framesToCollect, 0);
    EXPECT_LT(std::abs(trial.end.x - 640), 200);
    EXPECT_LT(std::abs(trial.end.y - 480), 200);
    EXPECT_TRUE(trial.coursesSteer);
}

namespace {

struct Outcome {
    bot::GameRecord record;
    std::int32_t criticalMassAfter = 0;
    int exitCode = -1;
    // Frames whose motion the bot's rules foresaw, and those they got wrong.
    int framesForeseen = 0;
    int framesMistaken = 0;
    // Stages whose first frame went the course the bot chose at rest.
    int stageStartsForeseen = 0;
};

// Plays one game with the bot. Beside it, the motion of every play frame is foreseen from the
// frame before and the course the bot gave, and compared with what the game did.
Outcome PlayOneGame(std::int64_t timeOfDay) {
    FakeHost host;
    SetHost(&host);
    host.SetTimeOfDay(timeOfDay);
    host.SetPicturesKept(0);
    // Past the play time, the intro, the fades and the closing stage start.
    host.SetBlankLimit(kPlayBlanks + 2000);
    Game game;
    bot::GameBot player(game, kPlayBlanks);
    Outcome outcome;
    bool foreseeing = false;
    bool atRest = false;
    PlayerMotion before;
    PlayerMotion foreseen;
    host.AtEveryBlank([&](FakeHost& h) {
        const bool playing = game.Status && game.Player && game.GameMap &&
                             game.Status->State == Playing &&
                             game.EnergonLevel <= game.CriticalMass && game.CriticalMass == 500;
        if (!playing) {
            foreseeing = false;
            player.OnBlank(h);
            return;
        }
        const PlayerMotion now{game.Player->PosX, game.Player->PosY,     game.Player->VelX,
                               game.Player->VelY, game.GameMap->ScrollX, game.GameMap->ScrollY};
        // At rest on an instruction screen no frame runs between blanks.
        if (foreseeing && !(atRest && now == before)) {
            ++outcome.framesForeseen;
            if (now == foreseen) {
                if (atRest) ++outcome.stageStartsForeseen;
            } else {
                ++outcome.framesMistaken;
            }
        }
        player.OnBlank(h);
        before = now;
        foreseen = now;
        bot::StepMotion(foreseen, player.LastCourse());
        foreseeing = true;
        atRest = now.velX == 0 && now.velY == 0;
    });
    outcome.exitCode = WinMain(game, nullptr, nullptr, "", SW_SHOWNORMAL);
    outcome.record = player.Record();
    outcome.criticalMassAfter = game.CriticalMass;
    host.AtEveryBlank({});
    return outcome;
}

}  // namespace

TEST(GameBot, ForeseesEveryPlayFrameOfTheGameAndSteersFromTheFirstOfEachStage) {
    // A seed on which the bot loses a life in play, so a second stage starts after the mouse
    // has been moved about: its first frame still goes the course given at rest, the motion
    // before it not counted.
    const Outcome outcome = PlayOneGame(1'734'567'890);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.record.completed);
    EXPECT_GT(outcome.framesForeseen, 1000);
    EXPECT_EQ(outcome.framesMistaken, 0);
    EXPECT_GE(outcome.stageStartsForeseen, 2);
}

TEST(GameBot, CompletesTheFirstStageWithinFiveMinutesForMostSeeds) {
    constexpr std::int64_t kSeeds[] = {
        1'700'000'000, 1'700'003'600, 1'700'086'400, 1'712'345'678, 1'723'456'789,
        1'734'567'890, 1'745'678'901, 1'756'789'012, 1'767'890'123, 1'778'901'234,
    };
    int completed = 0;
    std::printf("%14s %7s %11s %6s\n", "time of day", "time", "lives lost", "score");
    for (const std::int64_t seed : kSeeds) {
        const Outcome outcome = PlayOneGame(seed);
        const bot::GameRecord& record = outcome.record;
        EXPECT_EQ(outcome.exitCode, 0) << "seed " << seed;
        EXPECT_EQ(outcome.framesMistaken, 0) << "seed " << seed;
        ASSERT_TRUE(record.clicked) << "seed " << seed;
        // The game's own sign of a completed stage: the critical mass went up by 200.
        const bool won = record.completed && outcome.criticalMassAfter == 700 &&
                         record.completionBlank - record.clickBlank <= kPlayBlanks;
        if (won) ++completed;
        const std::uint64_t blanks =
            (won ? record.completionBlank : record.closeBlank) - record.clickBlank;
        std::printf("%14lld %4llu:%02llu %11d %6d%s\n", static_cast<long long>(seed),
                    static_cast<unsigned long long>(blanks / kBlanksPerSecond / 60),
                    static_cast<unsigned long long>(blanks / kBlanksPerSecond % 60),
                    record.livesLost, record.score,
                    won ? "" : (record.gameOver ? "  game over" : "  out of time"));
    }
    EXPECT_GE(completed, 8);
}
