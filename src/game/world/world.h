// SPDX-License-Identifier: MIT
#pragma once

// The world: every long-lived object of the game, each kept in a global that the parts of the
// game share. A global is empty before the spine makes its object and empty again once the
// object is released. Here too: putting the plain values back to their start, and giving the
// surfaces the display took away their memory and pictures back.

#include <array>
#include <cstdint>
#include <memory>

#include "actor.h"
#include "cdxinput.h"
#include "cdxscreen.h"
#include "cdxsound.h"
#include "cdxsoundbuffer.h"
#include "cdxsprite.h"
#include "cdxtile.h"
#include "fmpmap.h"
#include "game_options.h"
#include "game_status.h"
#include "score_file.h"
#include "screenfader.h"
#include "timerlist.h"
#include "win_types.h"
#include "world_measures.h"

namespace zelto {

extern platform::HINSTANCE AppInstance;
extern platform::HWND MainWindow;
extern std::int32_t AppActive;
extern std::unique_ptr<cdx::CDXScreen> GameScreen;
extern std::unique_ptr<cdx::CDXInput> GameInput;
extern std::unique_ptr<cdx::CDXSound> GameSound;
extern std::unique_ptr<cdx::FmpMap> GameMap;
extern std::unique_ptr<ScreenFader> Fader;
extern std::unique_ptr<cdx::CDXTile> SpikeSheet;
extern std::unique_ptr<cdx::CDXTile> CybudSheet;
extern std::unique_ptr<cdx::CDXTile> SkullSheet;
extern std::unique_ptr<cdx::CDXTile> JestoidSheet;
extern std::unique_ptr<cdx::CDXTile> HudSheet;
extern std::unique_ptr<cdx::CDXSprite> HudSprite;
extern std::unique_ptr<cdx::CDXTile> TitleSheet;
extern std::unique_ptr<cdx::CDXSprite> TitleSprite;
extern std::unique_ptr<cdx::CDXTile> PlayerSheet;
extern std::unique_ptr<Actor> Player;
extern std::unique_ptr<cdx::CDXTile> EnergonSheet;
extern std::array<std::unique_ptr<Actor>, kParticleCount> Particles;
extern std::array<std::unique_ptr<Actor>, kEnemyCount> Enemies;
extern std::unique_ptr<TimerList> Timers;
extern std::unique_ptr<GameStatus> Status;
// The best scores kept between runs; empty when there is no folder to keep them in.
extern std::unique_ptr<ScoreFile> Scores;
extern std::unique_ptr<cdx::CDXSoundBuffer> PickSound;
extern std::unique_ptr<cdx::CDXSoundBuffer> SpawnSound;
extern std::unique_ptr<cdx::CDXSoundBuffer> GongSound;
extern std::unique_ptr<cdx::CDXSoundBuffer> GruntSound;
extern std::unique_ptr<cdx::CDXSoundBuffer> ExplodeSound;
extern std::unique_ptr<cdx::CDXSoundBuffer> MonsterSound;
extern std::int32_t EnergonLevel;
extern std::int32_t CriticalMass;
extern std::int32_t LastMouseX;
extern std::int32_t LastMouseY;
// Play is held: by the player (P or the Pause key), or because the window left the front.
extern bool Paused;
// The run's options; unlike the globals above, ResetGlobals leaves them as the entry set them.
extern GameOptions Options;

// Puts every plain global (the window's handles, the Energon level, the critical mass, the
// last mouse position) back to its value before start-up, so the program can run again in
// the same process (the tests do).
void ResetGlobals();
// Gives every surface of the game whose memory the display took away its memory and picture
// back: the screen's buffers, the sheets and the map. Called when play resumes, so that its
// first picture is whole.
void RestoreLostSurfaces();

}  // namespace zelto
