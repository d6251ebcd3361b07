// SPDX-License-Identifier: MIT
#include "game_bot.h"

#include "game/spine/zelto.h"

namespace bot {
namespace {

using namespace cdx;
using namespace zelto;

// The set-1 scan code of Space, as the fake keyboard is read.
constexpr int kLeftButton = 0;

}  // namespace

void GameBot::OnBlank(platform::FakeHost& host) {
    if (closing_) return;
    if (!game_.Status || !game_.Player || !game_.GameMap) return;
    // Counted up to the completion: the frame that completes a stage goes on into the next.
    if (record_.clicked && !record_.completed) {
        record_.livesLost = kStartingLives - game_.Status->Lives;
        record_.score = game_.Status->Score;
    }
    switch (game_.Status->State) {
        case Intro:
            host.SetMouseButton(kLeftButton, true);
            if (!record_.clicked) {
                record_.clicked = true;
                record_.clickBlank = host.Blank();
                criticalMassAtClick_ = game_.CriticalMass;
            }
            return;
        case GameOver:
            record_.gameOver = true;
            Close(host);
            return;
        case Playing:
            break;
        default:
            host.SetKey(platform::kScanSpace, false);
            return;
    }
    host.SetMouseButton(kLeftButton, false);
    // The game raises the critical mass once the next stage's instruction screen is passed.
    if (game_.CriticalMass != criticalMassAtClick_ ||
        host.Blank() - record_.clickBlank >= playBlanks_) {
        Close(host);
        return;
    }
    if (!record_.completed && game_.EnergonLevel > game_.CriticalMass) {
        record_.completed = true;
        record_.completionBlank = host.Blank();
    }
    // A stage start leaves the player at rest; any later course has both components set.
    const bool stageStart = game_.Player->VelX == 0 && game_.Player->VelY == 0;
    host.SetKey(platform::kScanSpace, stageStart);
    Steer(host, stageStart);
}

void GameBot::Steer(platform::FakeHost& host, bool stageStart) {
    Sight sight;
    sight.player = {game_.Player->PosX, game_.Player->PosY,     game_.Player->VelX,
                    game_.Player->VelY, game_.GameMap->ScrollX, game_.GameMap->ScrollY};
    for (const auto& enemy : game_.Enemies) {
        if (enemy) sight.enemies.push_back({enemy->WorldX, enemy->WorldY});
    }
    for (const auto& particle : game_.Particles) {
        if (particle && particle->Active != 0) {
            sight.particles.push_back({particle->WorldX, particle->WorldY});
        }
    }
    lastCourse_ = policy_.Choose(sight);
    // The game measures the motion since its last frame. The first frame of a stage measures it
    // since the instruction screen's last reading, the one that found Space down, which may be
    // more than one blank before: the motion given at rest since then adds up to the course.
    const bool spaceRead = game_.GameInput && game_.GameInput->GetKeyState(kKeySpace) != KeyUp;
    const bool counted = stageStart && spaceRead;
    const Course given = counted ? restingMotion_ : Course{};
    host.MoveMouse(lastCourse_.velX - given.velX, lastCourse_.velY - given.velY);
    restingMotion_ = counted ? lastCourse_ : Course{};
}

void GameBot::Close(platform::FakeHost& host) {
    closing_ = true;
    record_.closeBlank = host.Blank();
    host.QueueEvent(platform::HostEvent::Kind::CloseRequested);
}

}  // namespace bot
