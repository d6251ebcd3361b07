// SPDX-License-Identifier: MIT
#include "game/spine/zelto.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <system_error>

#include "data_files.h"
#include "game/kept_files/user_folders.h"
#include "game/player/player.h"
#include "game/screen/screen_measures.h"
#include "game/spine/appicon.h"
#include "game/spine/data_folder.h"
#include "game/timers_and_random/random.h"
#include "game/world/game_sheets.h"
#include "platform/host/clock.h"
#include "platform/host/window.h"

using namespace platform;

using namespace cdx;

namespace zelto {

namespace {

constexpr const char* kClassName = "ZeltoWndClass";
constexpr const char* kTitle = "zelto";

// One sound effect, read with one copy; a file that cannot be read is fatal with message.
std::unique_ptr<CDXSoundBuffer> LoadSound(Game& game, const char* fileName, const char* message) {
    auto sound = std::make_unique<CDXSoundBuffer>();
    if (sound->Load(game.GameSound.get(), fileName, 1) == 0) {
        FatalError(game.GameScreen.get(), "%s", message);
    }
    return sound;
}

// The best scores are kept in the user's data folder; without one, none are kept and the player
// is told so once.
void OpenScores(Game& game) {
    const std::optional<std::string> folder = UserDataFolder();
    if (!folder) {
        std::fprintf(stderr, "zelto: %s: no scores are kept\n", NoUserDataFolderReason());
        return;
    }
    game.Scores = std::make_unique<ScoreFile>(*folder);
}

}  // namespace

void RegisterGameResources() {
    static const Resource resources[] = {
        {"APPICON", ResourceKind::Icon, kAppIconBmp, kAppIconBmpSize},
    };
    RegisterResources(resources);
}

int WinMain(Game& game, HINSTANCE instance, HINSTANCE, const char*, int showCommand) {
    RegisterGameResources();
    game.AppInstance = instance;
    CreateMainWindow(game, showCommand);
    InitApplication(game);

    MSG message;
    for (;;) {
        if (PeekMessage(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!GetMessage(&message, nullptr, 0, 0)) break;
            TranslateMessage(&message);
            DispatchMessage(&message);
        } else if (game.AppActive) {
            RunFrame(game);
        } else {
            WaitMessage();
        }
    }
    // A close request released the game already; any other end of the loop releases it here.
    ReleaseGame(game);
    if (game.MainWindow != nullptr) DestroyWindow(game.MainWindow);
    game.MainWindow = nullptr;
    return static_cast<int>(message.wParam);
}

void CreateMainWindow(Game& game, int showCommand) {
    WNDCLASS windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = game.AppInstance;
    windowClass.hIcon = LoadIcon(game.AppInstance, "APPICON");
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetStockObject(BLACK_BRUSH);
    windowClass.lpszClassName = kClassName;
    RegisterClass(&windowClass);

    game.MainWindow = CreateWindowEx(
        WS_EX_TOPMOST, kClassName, kTitle, WS_POPUP, 0, 0, GetSystemMetrics(SM_CXFULLSCREEN),
        GetSystemMetrics(SM_CYFULLSCREEN), nullptr, nullptr, game.AppInstance, nullptr);
    if (game.MainWindow == nullptr) {
        FatalError(nullptr, "could not create the main window");
        return;
    }
    // The window procedure finds the game through its window.
    SetWindowLongPtr(game.MainWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&game));
    ShowWindow(game.MainWindow, showCommand);
    UpdateWindow(game.MainWindow);
}

int InitApplication(Game& game) {
    game.GameScreen.reset(new (std::nothrow) CDXScreen());
    if (!game.GameScreen) {
        FatalError(nullptr, "Could not create CDXScreen object");
        return 0;
    }
    const int depth = game.GameScreen->CheckMode(kScreenWidth, kScreenHeight, kScreenDepth) == 1
                          ? kScreenDepth
                          : kFallbackScreenDepth;
    if (game.GameScreen->CreateFullScreen(game.MainWindow, kScreenWidth, kScreenHeight, depth, 0) ==
        0) {
        FatalError(game.GameScreen.get(), "Could not set %dx%dx%d video mode", kScreenWidth,
                   kScreenHeight, depth);
    }
    game.GameInput.reset(new (std::nothrow) CDXInput());
    if (!game.GameInput) {
        FatalError(game.GameScreen.get(), "Could not create CDXInput object");
    } else if (game.GameInput->Create(game.AppInstance, game.MainWindow, 1) == 0) {
        FatalError(game.GameScreen.get(), "Could not create direct input object");
    } else {
        game.GameInput->MouseFactor = game.Options.mouseSensitivity;
    }
    game.Random.Seed(static_cast<std::uint32_t>(TimeOfDay()));
    LoadGame(game);
    return 1;
}

void LoadGame(Game& game) {
    // A folder without a single one of the data files is not the game's: it is named once,
    // before anything is loaded, rather than in a report for each file.
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (!HoldsAnyDataFile(error ? std::filesystem::path(".") : folder)) {
        const std::string shown = error ? std::string(".") : folder.string();
        FatalError(game.GameScreen.get(),
                   "The game's data files (%s and %zu more) are not in the folder '%s'.\n"
                   "Name the folder that holds them with --data DIR.",
                   kMapFile, kDataFileCount - 1, shown.c_str());
        return;
    }
    game.Fader = std::make_unique<ScreenFader>(game.GameScreen.get());
    game.GameSound.reset(new (std::nothrow) CDXSound());
    if (game.GameSound && game.Options.noSound) {
        // Silent from the start: no sound device is opened, and no question asked without one.
        game.GameSound->SetMuted(true);
    } else if (!game.GameSound || game.GameSound->Create(game.MainWindow) == 0) {
        FatalError(game.GameScreen.get(), "Error setting up the CDXSound");
    } else {
        game.GameSound->SetMuted(game.Options.muted);
    }
    game.PickSound = LoadSound(game, kPickSoundFile, "Cant load File Pick.WAV");
    game.SpawnSound = LoadSound(game, kSpawnSoundFile, "Cant load File SPAWN.WAV");
    game.GongSound = LoadSound(game, kGongSoundFile, "Cant load File GONG.WAV");
    // The gong sounds as loading ends: the sounds are read first, so that its conversion to
    // the mixer's format runs beside the loading of the pictures instead of after it.
    game.GongSound->PrepareToPlay();
    game.GruntSound = LoadSound(game, kGruntSoundFile, "Cant load File GRUNT.WAV");
    game.ExplodeSound = LoadSound(game, kExplodeSoundFile, "Cant load File XPLODE.WAV");
    game.MonsterSound = LoadSound(game, kMonsterSoundFile, "Cant load File MON.WAV");
    LoadEnemySheets(game);
    game.HudSheet = LoadGameSheet(game.GameScreen.get(), kHudPictureFile, 146, 476, 1);
    game.HudSprite = std::make_unique<CDXSprite>();
    game.HudSprite->Create(game.HudSheet.get());
    game.HudSprite->PosX = kMapViewWidth;
    game.HudSprite->PosY = 0;
    game.TitleSheet =
        LoadGameSheet(game.GameScreen.get(), kTitlePictureFile, kScreenWidth, kScreenHeight, 1);
    game.TitleSprite = std::make_unique<CDXSprite>();
    game.TitleSprite->Create(game.TitleSheet.get());
    game.Timers = std::make_unique<TimerList>();
    game.Status = std::make_unique<GameStatus>();
    OpenScores(game);
    game.GameMap = std::make_unique<FmpMap>();
    game.GameMap->SetTransparentColor(0);
    if (game.GameMap->Create(game.GameScreen.get(), kMapFile, 0, 0, kMapViewWidth,
                             kMapViewHeight) == -1) {
        FatalError(game.GameScreen.get(), "Failed to Load Zelto.fmp");
    }
    CreatePlayer(game);
    CreateParticles(game);
    CreateEnemies(game);
    // In the order of their ids (GameTimer).
    game.Timers->AddTimer([&game] { ToggleParticle(game); }, 1000);
    game.Timers->AddTimer([&game] { ToggleEnemy(game); }, 500);
    game.Timers->AddTimer([&game] { DrainEnergon(game); }, 500);
    game.Timers->StartAll();
    game.GongSound->Play(0, 0, 0);
}

void RunFrame(Game& game) {
    // A screen whose mode could not be set has no buffers to draw; its fatal report has
    // already asked for the end.
    const CDXScreen* screen = game.GameScreen.get();
    if (screen == nullptr || screen->Back == nullptr || !screen->Back->Surface) return;
    if (game.GameInput) {
        game.GameInput->Update();
        // The frame's input, which every part of the frame reads from here on.
        if (game.GameInput->TakeFrame().Key(kKeyEscape) != KeyUp) {
            if (game.Fader) game.Fader->FadeOut();
            // The fade ends on a black front buffer; let the display show it before the end.
            game.GameScreen->WaitVBlank();
            SendMessage(game.MainWindow, WM_CLOSE, 0, 0);
            return;
        }
    }
    game.GameScreen->Back->Fill(0);
    // A paused frame shows its label on the front buffer instead; a frame that held the thread
    // (an instruction screen) and was asked to end shows nothing: the message loop takes the
    // close request or the quit next.
    if (!RunGameStep(game)) return;
    game.GameScreen->Flip(kFlipWaitForBlank, kFlipStretchToScreen, 0);
}

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_SETCURSOR:
            SetCursor(nullptr);
            return 1;
        default:
            break;
    }
    Game* const found = reinterpret_cast<Game*>(GetWindowLongPtr(window, GWLP_USERDATA));
    if (found == nullptr) return DefWindowProc(window, message, wParam, lParam);
    Game& game = *found;
    switch (message) {
        case WM_CLOSE:
            ReleaseGame(game);
            PostQuitMessage(0);
            return 0;
        case WM_ACTIVATEAPP:
            // Coming back to the front resumes play from now, whole: the time spent behind
            // another application drains no Energon and moves nothing, and what the display
            // took away is back before the next picture.
            if (game.AppActive == 0 && wParam != 0) {
                RestoreLostSurfaces(game);
                if (game.Timers) game.Timers->StartAll();
            }
            // Play behind another application waits, shown as paused, until the player says
            // to go on.
            if (wParam == 0) PausePlay(game);
            game.AppActive = static_cast<std::int32_t>(wParam);
            return 0;
        default:
            return DefWindowProc(window, message, wParam, lParam);
    }
}

void ReleaseGame(Game& game) {
    // The input first: nothing is read while the game goes.
    game.GameInput.reset();
    // Sounds before the device they play on; the device closes the host's sound output.
    game.GruntSound.reset();
    game.MonsterSound.reset();
    game.ExplodeSound.reset();
    game.PickSound.reset();
    game.GongSound.reset();
    game.SpawnSound.reset();
    game.GameSound.reset();
    // Sprites before the sheets they refer to.
    for (auto& enemy : game.Enemies) enemy.reset();
    for (auto& particle : game.Particles) particle.reset();
    game.Player.reset();
    game.PlayerSheet.reset();
    game.EnergonSheet.reset();
    game.HudSprite.reset();
    game.HudSheet.reset();
    game.TitleSprite.reset();
    game.TitleSheet.reset();
    game.EnemySheets.clear();
    game.Scores.reset();
    game.Status.reset();
    game.Timers.reset();
    // The map's blocks and the fader before the screen they draw on.
    if (game.GameMap) game.GameMap->Destroy();
    game.GameMap.reset();
    game.Fader.reset();
    game.GameScreen.reset();
}

}  // namespace zelto
