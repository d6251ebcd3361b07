// SPDX-License-Identifier: MIT
#pragma once

// The spine of the program: start-up, the frame driver, the window procedure and the orderly
// end. Every long-lived object of the game is created here and kept in the Game value of the
// world (world.h) that the caller owns; this header brings the world and the parts of the game
// the spine drives.

#include "game/enemies/enemies.h"
#include "game/particles/particles.h"
#include "game/states/gamestates.h"
#include "game/world/world.h"
#include "platform/host/win_types.h"

namespace zelto {

// The game's timers, by their ids in the timer list: start-up adds them in this order.
enum GameTimer : TimerId {
    kParticleToggleTimer = 0,
    kEnemyToggleTimer = 1,
    kEnergonDrainTimer = 2,
};

// Runs the program on game, a fresh Game whose options the caller has set; the exit code. The
// game's objects are released by then; its options hold what the run changed (M's choice).
int WinMain(Game& game, platform::HINSTANCE instance, platform::HINSTANCE previousInstance,
            const char* commandLine, int showCommand);
void CreateMainWindow(Game& game, int showCommand);
int InitApplication(Game& game);
void LoadGame(Game& game);
void RunFrame(Game& game);
platform::LRESULT WindowProc(platform::HWND window, platform::UINT message, platform::WPARAM wParam,
                             platform::LPARAM lParam);
// Releases every long-lived object of the game, in one order (what depends on another first),
// on a close request and again as WinMain ends (where nothing is left after a close request).
void ReleaseGame(Game& game);
// The program's embedded resources (the window icon), registered before the window is made.
void RegisterGameResources();

}  // namespace zelto
