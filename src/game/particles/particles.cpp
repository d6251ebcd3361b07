// SPDX-License-Identifier: MIT
#include "game/particles/particles.h"

#include <memory>

#include "data_files.h"
#include "game/player/player.h"
#include "game/timers_and_random/random.h"
#include "game/world/game_sheets.h"

using namespace cdx;

namespace zelto {

namespace {

constexpr int kKinds = 10;
// Only the first ten particles are ever put in play.
constexpr int kToggledParticles = 10;
// Each particle collected in one frame scores this much more than the one before it.
constexpr std::int32_t kBonusStep = 3;

// The five frames a particle of kind 0..9 cycles through: four of its own and the first of the
// next kind's; the last kind wraps to frame 0.
void SetParticleFrames(Actor& particle, int kind) {
    if (kind == kKinds - 1) {
        particle.SetFrameList(0, {36, 37, 38, 39, 0});
        return;
    }
    const std::int32_t first = 4 * kind;
    particle.SetFrameList(0, {first, first + 1, first + 2, first + 3, first + 4});
}

}  // namespace

void CreateParticles(Game& game) {
    game.EnergonSheet =
        LoadGameSheet(game.GameScreen.get(), kEnergonSheetFile, kActorSize, kActorSize, 40);
    for (auto& slot : game.Particles) {
        const int kind = game.Random.Next() % kKinds;
        auto particle = std::make_unique<Actor>();
        particle->Create(game.EnergonSheet.get());
        particle->Frame = 0;
        particle->AnimIndex = 0;
        particle->AnimDelay = 1;
        particle->WorldX = game.Random.Next() % kWorldWidth;
        particle->WorldY = game.Random.Next() % kWorldHeight;
        particle->Active = 0;
        particle->Kind = kind;
        SetParticleFrames(*particle, kind);
        slot = std::move(particle);
    }
}

void ToggleParticle(Game& game) {
    Actor* particle =
        game.Particles[static_cast<std::size_t>(game.Random.Next() % kToggledParticles)].get();
    if (particle == nullptr) return;
    if (particle->Active != 0) {
        particle->Active = 0;
        return;
    }
    particle->Active = 1;
    particle->WorldX = game.Random.Next() % kWorldWidth;
    particle->WorldY = game.Random.Next() % kWorldHeight;
    if (game.SpawnSound) game.SpawnSound->Play(0, 0, 0);
}

void DrainEnergon(Game& game) {
    game.EnergonLevel -= 1;
}

void UpdateParticles(Game& game) {
    if (!game.GameMap || !game.Status) return;
    std::int32_t bonus = 0;
    for (auto& particle : game.Particles) {
        if (!particle || particle->Active == 0) continue;
        StepAnimation(*particle);
        const std::int32_t shown =
            ShowAndHit(game, *particle, game.GameMap->ScrollX, game.GameMap->ScrollY,
                       kViewTestWidth, kViewTestHeight);
        if (shown != ShownTouching) continue;
        if (game.PickSound) game.PickSound->Play(0, 0, 0);
        particle->Active = 0;
        game.EnergonLevel += kRadsPerParticle;
        bonus += kBonusStep;
        game.Status->Score += bonus;
    }
}

}  // namespace zelto
