// SPDX-License-Identifier: MIT
// The rules of play at their edges, each set up in a running game on the fake host: the
// critical mass, the Energon floor and drain, enemies and particles, animation lists, and the
// order of the random draws that makes a seed fix a game.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "game/player/player.h"
#include "game/timers_and_random/random.h"
#include "game_session.h"

using namespace platform;

namespace {

using namespace cdx;
using namespace zelto;

constexpr std::uint64_t kClick = GameSession::kFirstClick;
constexpr std::uint64_t kSpace = GameSession::kFirstSpace;

// Most cases play stages without enemies, looking at every play frame (Play).
class RulesTest : public ::testing::Test {
protected:
    void Play(std::uint64_t frames, std::function<void(int frame)> frame) {
        EXPECT_EQ(game.PlayWithoutEnemies(frames, std::move(frame)), 0);
    }

    GameSession game;
};

}  // namespace

TEST_F(RulesTest, TheStageCompletesOnlyAboveTheCriticalMass) {
    int stagesAtEqual = -1;
    std::int32_t criticalMassAfter = 0;
    std::int32_t energonAfter = 0;
    std::int32_t stageAfter = 0;
    Play(200, [&](int frame) {
        if (frame == 10) game.world.EnergonLevel = game.world.CriticalMass;
        if (frame == 12) {
            stagesAtEqual = game.stagesStarted;
            game.world.EnergonLevel = game.world.CriticalMass + 1;
        }
        // The first frame of the new stage.
        if (game.stagesStarted == 2 && stageAfter == 0) {
            criticalMassAfter = game.world.CriticalMass;
            energonAfter = game.world.EnergonLevel;
            stageAfter = game.world.Status->Stage;
        }
    });
    EXPECT_EQ(stagesAtEqual, 1);
    EXPECT_EQ(game.stagesStarted, 2);
    EXPECT_EQ(criticalMassAfter, 700);
    EXPECT_EQ(energonAfter, 200);
    EXPECT_EQ(stageAfter, 1);
}

TEST_F(RulesTest, AnEnergonLevelBelowZeroCostsALifeAndZeroDoesNot) {
    std::int32_t livesAtZero = 0;
    std::int32_t stateAtZero = 0;
    std::int32_t livesAtMinusOne = 0;
    std::int32_t stateAtMinusOne = 0;
    Play(60, [&](int frame) {
        if (frame == 5) game.world.EnergonLevel = 0;
        if (frame == 6) {
            livesAtZero = game.world.Status->Lives;
            stateAtZero = game.world.Status->State;
            game.world.EnergonLevel = -1;
        }
        if (frame == 7) {
            livesAtMinusOne = game.world.Status->Lives;
            stateAtMinusOne = game.world.Status->State;
        }
    });
    EXPECT_EQ(livesAtZero, 3);
    EXPECT_EQ(stateAtZero, Playing);
    EXPECT_EQ(livesAtMinusOne, 2);
    EXPECT_EQ(stateAtMinusOne, Dying);
}

TEST_F(RulesTest, TheEnergonDrainsOneRadForEveryWholeHalfSecond) {
    // Play at 60 frames a second cannot tell 499 ms from 500: the drain's clock is set back by
    // a given time instead, just before a frame runs, and that frame's drain is read.
    struct Row {
        std::int64_t milliseconds;
        std::int32_t drained;
    };
    const Row rows[] = {{499, 0}, {500, 1}, {501, 1}, {999, 1}, {1000, 2}, {1500, 3}};
    constexpr int kFramesPerRow = 10;
    std::vector<std::int32_t> drained;
    Play(200, [&](int frame) {
        const std::size_t row = static_cast<std::size_t>(frame / kFramesPerRow);
        if (row == 0 || row > std::size(rows)) return;
        if (frame % kFramesPerRow == 0) {
            TimerEntry& drain = game.world.Timers->Entries.at(kEnergonDrainTimer);
            drain.LastCount = game.host.PerformanceCounter() -
                              rows[row - 1].milliseconds * game.world.Timers->Frequency / 1000;
            game.world.EnergonLevel = 300;
        }
        if (frame % kFramesPerRow == 1) drained.push_back(300 - game.world.EnergonLevel);
    });
    ASSERT_EQ(drained.size(), std::size(rows));
    for (std::size_t i = 0; i < drained.size(); ++i) {
        EXPECT_EQ(drained[i], rows[i].drained) << rows[i].milliseconds << " ms";
    }
}

TEST_F(RulesTest, TwoTouchingEnemiesCostTwoLivesAndTheExplosionSoundsOnce) {
    std::int32_t livesAfter = 0;
    Play(30, [&](int frame) {
        if (frame == 3) {
            // One of them switched on at the player's place, the other one off: both kill.
            for (int i : {12, 30}) {
                game.world.Enemies[i]->WorldX =
                    game.world.GameMap->ScrollX + game.world.Player->PosX + 5;
                game.world.Enemies[i]->WorldY =
                    game.world.GameMap->ScrollY + game.world.Player->PosY - 5;
            }
            game.world.Enemies[12]->Active = 1;
            game.world.Enemies[30]->Active = 0;
        }
        if (frame == 4) livesAfter = game.world.Status->Lives;
    });
    EXPECT_EQ(livesAfter, 1);
    EXPECT_EQ(game.SoundsPlayed("Explode").size(), 1u);
}

TEST_F(RulesTest, TwoParticlesInOneFrameGiveTwentyRadsAndNinePoints) {
    std::int32_t energonBefore = 0;
    std::int32_t energonAfter = 0;
    std::int32_t scoreAfter = 0;
    Play(30, [&](int frame) {
        if (frame == 3) {
            game.PlaceParticle(game.world.GameMap->ScrollX + game.world.Player->PosX + 10,
                               game.world.GameMap->ScrollY + game.world.Player->PosY);
            game.world.Particles[7]->Active = 1;
            game.world.Particles[7]->WorldX = game.world.GameMap->ScrollX + game.world.Player->PosX;
            game.world.Particles[7]->WorldY =
                game.world.GameMap->ScrollY + game.world.Player->PosY + 10;
            energonBefore = game.world.EnergonLevel;
        }
        if (frame == 4) {
            energonAfter = game.world.EnergonLevel;
            scoreAfter = game.world.Status->Score;
        }
    });
    EXPECT_EQ(energonAfter - energonBefore, 20);
    EXPECT_EQ(scoreAfter, 9);
    EXPECT_EQ(game.SoundsPlayed("Pick").size(), 1u) << "the second is refused while one sounds";
}

TEST_F(RulesTest, TogglesMoveEnemiesZeroToThirtyEightAndParticlesZeroToNineOnly) {
    std::int32_t lastX = 0;
    std::int32_t lastY = 0;
    const Actor* last = nullptr;
    bool lastMoved = false;
    bool otherMoved = false;
    bool highParticleShown = false;
    bool lowParticleShown = false;
    // Half a minute of play: some sixty enemy toggles and thirty particle toggles.
    Play(1800, [&](int) {
        // A stage that starts again (after a loss) has a new enemy 39.
        if (game.world.Enemies[39].get() != last) {
            last = game.world.Enemies[39].get();
            lastX = last->WorldX;
            lastY = last->WorldY;
        }
        if (game.world.Enemies[39]->WorldX != lastX || game.world.Enemies[39]->WorldY != lastY)
            lastMoved = true;
        for (int i = 0; i < 39; ++i) otherMoved |= game.world.Enemies[i]->WorldX < 100000;
        for (int i = 0; i < kParticleCount; ++i) {
            (i >= 10 ? highParticleShown : lowParticleShown) |=
                game.world.Particles[i]->Active != 0;
        }
        // Keep the player alive and still.
        game.world.EnergonLevel = 300;
    });
    EXPECT_FALSE(lastMoved);
    EXPECT_TRUE(otherMoved);
    EXPECT_FALSE(highParticleShown);
    EXPECT_TRUE(lowParticleShown);
    EXPECT_FALSE(game.SoundsPlayed("Monster").empty());
    EXPECT_FALSE(game.SoundsPlayed("Spawn").empty());
}

TEST_F(RulesTest, FrameListsPlayInOrderAndTheLastParticleKindWrapsToFrameZero) {
    int wrongLists = 0;
    std::vector<std::int32_t> lastKind;
    std::vector<std::int32_t> player;
    Play(10, [&](int frame) {
        if (frame != 2) return;
        // Five frames by kind: four of its own and the next kind's first; kind 9 wraps to 0.
        for (const auto& particle : game.world.Particles) {
            const std::int32_t first = 4 * particle->Kind;
            std::vector<std::int32_t> expected{
                first, first + 1, first + 2, first + 3, particle->Kind == 9 ? 0 : first + 4, -1};
            wrongLists += particle->FrameLists[0] != expected;
        }
        Actor particle;
        particle.SetFrameList(0, {36, 37, 38, 39, 0});
        particle.AnimDelay = 1;
        for (int i = 0; i < 12; ++i) {
            StepAnimation(particle);
            lastKind.push_back(particle.Frame);
        }
        Actor alive;
        alive.FrameLists[0] = game.world.Player->FrameLists[0];
        alive.AnimDelay = game.world.Player->AnimDelay;
        for (int i = 0; i < 9; ++i) {
            StepAnimation(alive);
            player.push_back(alive.Frame);
        }
    });
    EXPECT_EQ(wrongLists, 0);
    // Each entry shows for two frames; after the fifth the list starts again.
    EXPECT_EQ(lastKind, (std::vector<std::int32_t>{0, 37, 37, 38, 38, 39, 39, 0, 0, 36, 36, 37}));
    // The player's alive list: frame 0 for three frames, frame 1 for six.
    EXPECT_EQ(player, (std::vector<std::int32_t>{0, 0, 1, 1, 1, 1, 1, 1, 0}));
}

namespace {

struct Place {
    std::int32_t kind;
    std::int32_t x;
    std::int32_t y;
    bool operator==(const Place&) const = default;
};

// Where a seed puts everything, drawn in the game's fixed order.
struct Draws {
    std::vector<Place> particles;      // at start-up: kind, x, y
    std::vector<Place> enemies;        // at start-up: on, x, y
    std::vector<int> activeParticles;  // after the first stage start
    std::vector<Place> stageEnemies;   // after the first stage start
};

// The player's start in the world, and how near an enemy may stand to it at a stage start:
// within twice the contact distance it is moved sideways out of that square.
constexpr std::int32_t kStartX = 640;
constexpr std::int32_t kStartY = 480;
constexpr std::int32_t kKeptAway = 64;

bool NearTheStart(const Place& enemy) {
    return std::abs(enemy.x - kStartX) <= kKeptAway && std::abs(enemy.y - kStartY) <= kKeptAway;
}

}  // namespace

namespace {

Draws ExpectedDraws(std::int64_t seed) {
    RandomNumbers random;
    random.Seed(static_cast<std::uint32_t>(seed));
    Draws draws;
    // Start-up: each particle's kind, then its x, then its y; then each enemy's x and y.
    for (int i = 0; i < kParticleCount; ++i) {
        const int kind = random.Next() % 10;
        const int x = random.Next() % 1280;
        draws.particles.push_back({kind, x, random.Next() % 960});
    }
    for (int i = 0; i < kEnemyCount; ++i) {
        const int x = random.Next() % 1280;
        draws.enemies.push_back({i == 12 || i == 22 || i == 32, x, random.Next() % 960});
    }
    // The stage start: a particle toggled on (its index, then x and y), the enemies made afresh,
    // and one enemy toggled (its index, and x and y when it is switched on); then every enemy
    // near the player's start is moved out sideways, with no draw.
    draws.activeParticles.push_back(random.Next() % 10);
    random.Next();
    random.Next();
    for (int i = 0; i < kEnemyCount; ++i) {
        const int x = random.Next() % 1280;
        draws.stageEnemies.push_back({i == 12 || i == 22 || i == 32, x, random.Next() % 960});
    }
    Place& toggled = draws.stageEnemies[static_cast<std::size_t>(random.Next() % 39)];
    if (toggled.kind == 1) {
        toggled.kind = 0;
    } else {
        toggled.kind = 1;
        toggled.x = random.Next() % 1280;
        toggled.y = random.Next() % 960;
    }
    for (Place& enemy : draws.stageEnemies) {
        if (NearTheStart(enemy)) {
            enemy.x = enemy.x < kStartX ? kStartX - kKeptAway - 1 : kStartX + kKeptAway + 1;
        }
    }
    return draws;
}

// Whether the seed's first stage start drew an enemy near the player's start.
bool DrawsAnEnemyNearTheStart(std::int64_t seed) {
    RandomNumbers random;
    random.Seed(static_cast<std::uint32_t>(seed));
    // Start-up's particles and enemies, the stage start's particle toggle.
    for (int i = 0; i < 3 * kParticleCount + 2 * kEnemyCount + 3; ++i) random.Next();
    for (int i = 0; i < kEnemyCount; ++i) {
        const int x = random.Next() % 1280;
        if (NearTheStart({0, x, random.Next() % 960})) return true;
    }
    return false;
}

Draws PlayedDraws(std::int64_t seed) {
    GameSession game;
    Draws draws;
    game.host.SetTimeOfDay(seed);
    game.ClickAt(kClick);
    game.host.AtBlank(kSpace, [](FakeHost& h) { h.SetKey(kScanSpace, true); });
    game.EveryBlank([&](std::uint64_t blank) {
        if (blank != 1) return;
        for (const auto& p : game.world.Particles)
            draws.particles.push_back({p->Kind, p->WorldX, p->WorldY});
        for (const auto& e : game.world.Enemies)
            draws.enemies.push_back({e->Active, e->WorldX, e->WorldY});
    });
    game.AtStageStart([&](int) {
        for (const auto& e : game.world.Enemies) {
            draws.stageEnemies.push_back({e->Active, e->WorldX, e->WorldY});
        }
        for (int i = 0; i < kParticleCount; ++i) {
            if (game.world.Particles[i]->Active != 0) draws.activeParticles.push_back(i);
        }
    });
    game.CloseAt(kSpace + 10);
    EXPECT_EQ(game.Run(), 0);
    return draws;
}

}  // namespace

TEST(RandomDrawsTest, FollowAFixedOrderSoTheTimeOfDaySeedsTheWholeGame) {
    std::vector<std::int64_t> seeds{1'234'567};
    // Seeds whose first stage start put an enemy where it would touch the player at rest.
    for (std::int64_t seed = 1'700'000'000; seeds.size() < 4; ++seed) {
        if (DrawsAnEnemyNearTheStart(seed)) seeds.push_back(seed);
    }
    for (const std::int64_t seed : seeds) {
        const Draws played = PlayedDraws(seed);
        const Draws expected = ExpectedDraws(seed);
        EXPECT_EQ(played.particles, expected.particles) << "seed " << seed;
        EXPECT_EQ(played.enemies, expected.enemies) << "seed " << seed;
        EXPECT_EQ(played.activeParticles, expected.activeParticles) << "seed " << seed;
        EXPECT_EQ(played.stageEnemies, expected.stageEnemies) << "seed " << seed;
        for (const Place& enemy : played.stageEnemies) {
            EXPECT_FALSE(NearTheStart(enemy)) << "seed " << seed << " x " << enemy.x;
        }
    }
}
