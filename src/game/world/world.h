// SPDX-License-Identifier: MIT
#pragma once

// The world: the game's whole state in one Game value, which the program's entry owns and hands
// by reference to every part of the game (the window procedure finds it through the window's
// user data). A long-lived object is empty before start-up makes it and empty again once it is
// released. Here too: giving the surfaces the display took away their memory and pictures back.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "cdx/input/cdxinput.h"
#include "cdx/sound/cdxsound.h"
#include "cdx/sound/cdxsoundbuffer.h"
#include "cdx/sprite/cdxsprite.h"
#include "cdx/sprite/cdxtile.h"
#include "cdx/surface/cdxscreen.h"
#include "game/actors/actor.h"
#include "game/fader/screenfader.h"
#include "game/scores/score_file.h"
#include "game/timers_and_random/random.h"
#include "game/timers_and_random/timerlist.h"
#include "game/world/game_options.h"
#include "game/world/game_status.h"
#include "game/world/world_measures.h"
#include "map/fmpmap.h"
#include "platform/host/win_types.h"

namespace zelto {

// The sound label as the front buffer shows it: its text (null: none), and the pixels it covers,
// kept to be put back when it goes.
struct FrontLabel {
    const char* text = nullptr;
    platform::RECT keptArea{};
    std::vector<std::uint32_t> keptPixels;
};

struct Game {
    Game() = default;
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    platform::HINSTANCE AppInstance = nullptr;
    platform::HWND MainWindow = nullptr;
    std::int32_t AppActive = 0;
    std::unique_ptr<cdx::CDXScreen> GameScreen;
    std::unique_ptr<cdx::CDXInput> GameInput;
    std::unique_ptr<cdx::CDXSound> GameSound;
    std::unique_ptr<cdx::FmpMap> GameMap;
    std::unique_ptr<ScreenFader> Fader;
    // One sheet for each kind of enemy, in the order of the enemies' table of kinds.
    std::vector<std::unique_ptr<cdx::CDXTile>> EnemySheets;
    std::unique_ptr<cdx::CDXTile> HudSheet;
    std::unique_ptr<cdx::CDXSprite> HudSprite;
    std::unique_ptr<cdx::CDXTile> TitleSheet;
    std::unique_ptr<cdx::CDXSprite> TitleSprite;
    std::unique_ptr<cdx::CDXTile> PlayerSheet;
    std::unique_ptr<Actor> Player;
    std::unique_ptr<cdx::CDXTile> EnergonSheet;
    std::array<std::unique_ptr<Actor>, kParticleCount> Particles;
    std::array<std::unique_ptr<Actor>, kEnemyCount> Enemies;
    std::unique_ptr<TimerList> Timers;
    std::unique_ptr<GameStatus> Status;
    // The best scores kept between runs; empty when there is no folder to keep them in.
    std::unique_ptr<ScoreFile> Scores;
    std::unique_ptr<cdx::CDXSoundBuffer> PickSound;
    std::unique_ptr<cdx::CDXSoundBuffer> SpawnSound;
    std::unique_ptr<cdx::CDXSoundBuffer> GongSound;
    std::unique_ptr<cdx::CDXSoundBuffer> GruntSound;
    std::unique_ptr<cdx::CDXSoundBuffer> ExplodeSound;
    std::unique_ptr<cdx::CDXSoundBuffer> MonsterSound;
    std::int32_t EnergonLevel = kStageStartEnergon;
    std::int32_t CriticalMass = kFirstCriticalMass;
    // Play is held: by the player (P or the Pause key), or because the window left the front.
    bool Paused = false;
    // A stage is being started (its cross-fade and instruction screen hold the thread): play is
    // not running yet, so leaving the front does not pause it.
    bool StageStarting = false;
    // The run's options, set by the program's entry before start-up.
    GameOptions Options;
    RandomNumbers Random;
    FrontLabel SoundLabelOnFront;
};

// Gives every surface of the game whose memory the display took away its memory and picture
// back: the screen's buffers, the sheets and the map. Called when play resumes, so that its
// first picture is whole.
void RestoreLostSurfaces(Game& game);

}  // namespace zelto
