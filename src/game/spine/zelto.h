// SPDX-License-Identifier: MIT
#pragma once

// The spine of the program: start-up, the frame driver, the window procedure and the orderly
// end. Every long-lived object of the game is created here and kept in a global of the world
// (world.h); this header brings the world and the parts of the game the spine drives.

#include "enemies.h"
#include "gamestates.h"
#include "particles.h"
#include "win_types.h"
#include "world.h"

namespace zelto {

int WinMain(platform::HINSTANCE instance, platform::HINSTANCE previousInstance,
            const char* commandLine, int showCommand);
void CreateMainWindow(int showCommand);
int InitApplication();
void LoadGame();
void RunFrame();
platform::LRESULT WindowProc(platform::HWND window, platform::UINT message, platform::WPARAM wParam,
                             platform::LPARAM lParam);
// Releases every long-lived object of the game, in one order (what depends on another first),
// on a close request and again as WinMain ends (where nothing is left after a close request).
void ReleaseGame();
// The program's embedded resources (the window icon), registered before the window is made.
void RegisterGameResources();

}  // namespace zelto
