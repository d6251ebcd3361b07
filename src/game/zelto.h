#pragma once

// The spine of the program: its globals, start-up, the frame driver, the window procedure and
// the orderly end. Every long-lived object of the game is created here and kept in a global;
// a global is empty before its object is made and empty again once it is released.

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
#include "enemies.h"
#include "fmpmap.h"
#include "gamestates.h"
#include "particles.h"
#include "screenfader.h"
#include "timerlist.h"
#include "win_types.h"

extern platform::HINSTANCE AppInstance;
extern platform::HWND MainWindow;
extern std::int32_t AppActive;
extern std::unique_ptr<CDXScreen> GameScreen;
extern std::unique_ptr<CDXInput> GameInput;
extern std::unique_ptr<CDXSound> GameSound;
extern std::unique_ptr<FmpMap> GameMap;
extern std::unique_ptr<ScreenFader> Fader;
extern std::unique_ptr<CDXTile> SpikeSheet;
extern std::unique_ptr<CDXTile> CybudSheet;
extern std::unique_ptr<CDXTile> SkullSheet;
extern std::unique_ptr<CDXTile> JestoidSheet;
extern std::unique_ptr<CDXTile> HudSheet;
extern std::unique_ptr<CDXSprite> HudSprite;
extern std::unique_ptr<CDXTile> TitleSheet;
extern std::unique_ptr<CDXSprite> TitleSprite;
extern std::unique_ptr<CDXTile> PlayerSheet;
extern std::unique_ptr<Actor> Player;
extern std::unique_ptr<CDXTile> EnergonSheet;
extern std::array<std::unique_ptr<Actor>, kParticleCount> Particles;
extern std::array<std::unique_ptr<Actor>, kEnemyCount> Enemies;
extern std::unique_ptr<TimerList> Timers;
extern std::unique_ptr<GameStatus> Status;
extern std::unique_ptr<CDXSoundBuffer> PickSound;
extern std::unique_ptr<CDXSoundBuffer> SpawnSound;
extern std::unique_ptr<CDXSoundBuffer> GongSound;
extern std::unique_ptr<CDXSoundBuffer> GruntSound;
extern std::unique_ptr<CDXSoundBuffer> ExplodeSound;
extern std::unique_ptr<CDXSoundBuffer> MonsterSound;
extern std::int32_t EnergonLevel;
extern std::int32_t CriticalMass;
extern std::int32_t LastMouseX;
extern std::int32_t LastMouseY;

int WinMain(platform::HINSTANCE instance, platform::HINSTANCE previousInstance,
            const char* commandLine, int showCommand);
void CreateMainWindow(int showCommand);
int InitApplication();
void LoadGame();
void RunFrame();
platform::LRESULT WindowProc(platform::HWND window, platform::UINT message, platform::WPARAM wParam,
                             platform::LPARAM lParam);
void ReleaseGame();
// Gives every surface of the game whose memory the display took away its memory and picture
// back: the screen's buffers, the sheets and the map. Called when play resumes, so that its
// first picture is whole.
void RestoreLostSurfaces();

// The program's embedded resources (the window icon), registered before the window is made.
void RegisterGameResources();
