// SPDX-License-Identifier: MIT
#include "world.h"

using namespace platform;

using namespace cdx;

namespace zelto {

HINSTANCE AppInstance = nullptr;
HWND MainWindow = nullptr;
std::int32_t AppActive = 0;
std::unique_ptr<CDXScreen> GameScreen;
std::unique_ptr<CDXInput> GameInput;
std::unique_ptr<CDXSound> GameSound;
std::unique_ptr<FmpMap> GameMap;
std::unique_ptr<ScreenFader> Fader;
std::unique_ptr<CDXTile> SpikeSheet;
std::unique_ptr<CDXTile> CybudSheet;
std::unique_ptr<CDXTile> SkullSheet;
std::unique_ptr<CDXTile> JestoidSheet;
std::unique_ptr<CDXTile> HudSheet;
std::unique_ptr<CDXSprite> HudSprite;
std::unique_ptr<CDXTile> TitleSheet;
std::unique_ptr<CDXSprite> TitleSprite;
std::unique_ptr<CDXTile> PlayerSheet;
std::unique_ptr<Actor> Player;
std::unique_ptr<CDXTile> EnergonSheet;
std::array<std::unique_ptr<Actor>, kParticleCount> Particles;
std::array<std::unique_ptr<Actor>, kEnemyCount> Enemies;
std::unique_ptr<TimerList> Timers;
std::unique_ptr<GameStatus> Status;
std::unique_ptr<ScoreFile> Scores;
std::unique_ptr<CDXSoundBuffer> PickSound;
std::unique_ptr<CDXSoundBuffer> SpawnSound;
std::unique_ptr<CDXSoundBuffer> GongSound;
std::unique_ptr<CDXSoundBuffer> GruntSound;
std::unique_ptr<CDXSoundBuffer> ExplodeSound;
std::unique_ptr<CDXSoundBuffer> MonsterSound;
std::int32_t EnergonLevel = kStageStartEnergon;
std::int32_t CriticalMass = kFirstCriticalMass;
std::int32_t LastMouseX = 0;
std::int32_t LastMouseY = 0;
bool Paused = false;
GameOptions Options;

void ResetGlobals() {
    AppInstance = nullptr;
    MainWindow = nullptr;
    AppActive = 0;
    EnergonLevel = kStageStartEnergon;
    CriticalMass = kFirstCriticalMass;
    LastMouseX = 0;
    LastMouseY = 0;
    Paused = false;
}

void RestoreLostSurfaces() {
    if (!GameScreen) return;
    GameScreen->RestoreAll();
    for (const auto* sheet : {&SpikeSheet, &CybudSheet, &SkullSheet, &JestoidSheet, &HudSheet,
                              &TitleSheet, &PlayerSheet, &EnergonSheet}) {
        CDXTile* tile = sheet->get();
        if (tile != nullptr && tile->Surface && tile->Surface->IsLost() == DDERR_SURFACELOST) {
            tile->Restore();
        }
    }
    if (GameMap && GameMap->IsLost()) GameMap->Restore();
}

}  // namespace zelto
