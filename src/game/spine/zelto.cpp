// SPDX-License-Identifier: MIT
#include "zelto.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <system_error>

#include "appicon.h"
#include "clock.h"
#include "data_files.h"
#include "data_folder.h"
#include "game_sheets.h"
#include "player.h"
#include "random.h"
#include "screen_measures.h"
#include "window.h"
#include "xdg_folders.h"

using namespace platform;

using namespace cdx;

namespace zelto {

namespace {

constexpr const char* kClassName = "ZeltoWndClass";
constexpr const char* kTitle = "zelto";

// One sound effect, read with one copy; a file that cannot be read is fatal with message.
std::unique_ptr<CDXSoundBuffer> LoadSound(const char* fileName, const char* message) {
    auto sound = std::make_unique<CDXSoundBuffer>();
    if (sound->Load(GameSound.get(), fileName, 1) == 0) FatalError(GameScreen.get(), "%s", message);
    return sound;
}

// The best scores are kept in the user's data folder; without one, none are kept and the player
// is told so once.
void OpenScores() {
    const std::optional<std::string> folder =
        KeptDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (!folder) {
        std::fputs("zelto: neither XDG_DATA_HOME nor HOME names a folder: no scores are kept\n",
                   stderr);
        return;
    }
    Scores = std::make_unique<ScoreFile>(*folder);
}

}  // namespace

void RegisterGameResources() {
    static const Resource resources[] = {
        {"APPICON", ResourceKind::Icon, kAppIconBmp, kAppIconBmpSize},
    };
    RegisterResources(resources);
}

int WinMain(HINSTANCE instance, HINSTANCE, const char*, int showCommand) {
    ResetGlobals();
    RegisterGameResources();
    AppInstance = instance;
    CreateMainWindow(showCommand);
    InitApplication();

    MSG message;
    for (;;) {
        if (PeekMessage(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!GetMessage(&message, nullptr, 0, 0)) break;
            TranslateMessage(&message);
            DispatchMessage(&message);
        } else if (AppActive) {
            RunFrame();
        } else {
            WaitMessage();
        }
    }
    // A close request released the game already; any other end of the loop releases it here.
    ReleaseGame();
    if (MainWindow != nullptr) DestroyWindow(MainWindow);
    MainWindow = nullptr;
    return static_cast<int>(message.wParam);
}

void CreateMainWindow(int showCommand) {
    WNDCLASS windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = AppInstance;
    windowClass.hIcon = LoadIcon(AppInstance, "APPICON");
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetStockObject(BLACK_BRUSH);
    windowClass.lpszClassName = kClassName;
    RegisterClass(&windowClass);

    MainWindow = CreateWindowEx(
        WS_EX_TOPMOST, kClassName, kTitle, WS_POPUP, 0, 0, GetSystemMetrics(SM_CXFULLSCREEN),
        GetSystemMetrics(SM_CYFULLSCREEN), nullptr, nullptr, AppInstance, nullptr);
    if (MainWindow == nullptr) {
        FatalError(nullptr, "could not create the main window");
        return;
    }
    ShowWindow(MainWindow, showCommand);
    UpdateWindow(MainWindow);
}

int InitApplication() {
    GameScreen.reset(new (std::nothrow) CDXScreen());
    if (!GameScreen) {
        FatalError(nullptr, "Could not create CDXScreen object");
        return 0;
    }
    const int depth = GameScreen->CheckMode(kScreenWidth, kScreenHeight, kScreenDepth) == 1
                          ? kScreenDepth
                          : kFallbackScreenDepth;
    if (GameScreen->CreateFullScreen(MainWindow, kScreenWidth, kScreenHeight, depth, 0) == 0) {
        FatalError(GameScreen.get(), "Could not set %dx%dx%d video mode", kScreenWidth,
                   kScreenHeight, depth);
    }
    GameInput.reset(new (std::nothrow) CDXInput());
    if (!GameInput) {
        FatalError(GameScreen.get(), "Could not create CDXInput object");
    } else if (GameInput->Create(AppInstance, MainWindow, 1) == 0) {
        FatalError(GameScreen.get(), "Could not create direct input object");
    } else {
        GameInput->MouseFactor = Options.mouseSensitivity;
    }
    SeedRandom(static_cast<std::uint32_t>(TimeOfDay()));
    LoadGame();
    return 1;
}

void LoadGame() {
    // A folder without a single one of the data files is not the game's: it is named once,
    // before anything is loaded, rather than in a report for each file.
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (!HoldsAnyDataFile(error ? std::filesystem::path(".") : folder)) {
        FatalError(GameScreen.get(),
                   "The game's data files (%s and %zu more) are not in the folder '%s'.\n"
                   "Name the folder that holds them with --data DIR.",
                   kMapFile, kDataFileCount - 1, error ? "." : folder.c_str());
        return;
    }
    Fader = std::make_unique<ScreenFader>(GameScreen.get());
    GameSound.reset(new (std::nothrow) CDXSound());
    if (GameSound && Options.noSound) {
        // Silent from the start: no sound device is opened, and no question asked without one.
        GameSound->SetMuted(true);
    } else if (!GameSound || GameSound->Create(MainWindow) == 0) {
        FatalError(GameScreen.get(), "Error setting up the CDXSound");
    } else {
        GameSound->SetMuted(Options.muted);
    }
    PickSound = LoadSound(kPickSoundFile, "Cant load File Pick.WAV");
    SpawnSound = LoadSound(kSpawnSoundFile, "Cant load File SPAWN.WAV");
    GongSound = LoadSound(kGongSoundFile, "Cant load File GONG.WAV");
    // The gong sounds as loading ends: the sounds are read first, so that its conversion to
    // the mixer's format runs beside the loading of the pictures instead of after it.
    GongSound->PrepareToPlay();
    GruntSound = LoadSound(kGruntSoundFile, "Cant load File GRUNT.WAV");
    ExplodeSound = LoadSound(kExplodeSoundFile, "Cant load File XPLODE.WAV");
    MonsterSound = LoadSound(kMonsterSoundFile, "Cant load File MON.WAV");
    SpikeSheet = LoadGameSheet(kSpikeSheetFile, 32, 32, 40);
    CybudSheet = LoadGameSheet(kCybudSheetFile, 32, 32, 40);
    SkullSheet = LoadGameSheet(kSkullSheetFile, 32, 32, 40);
    JestoidSheet = LoadGameSheet(kJestoidSheetFile, 32, 32, 40);
    HudSheet = LoadGameSheet(kHudPictureFile, 146, 476, 1);
    HudSprite = std::make_unique<CDXSprite>();
    HudSprite->Create(HudSheet.get());
    HudSprite->PosX = kMapViewWidth;
    HudSprite->PosY = 0;
    TitleSheet = LoadGameSheet(kTitlePictureFile, kScreenWidth, kScreenHeight, 1);
    TitleSprite = std::make_unique<CDXSprite>();
    TitleSprite->Create(TitleSheet.get());
    Timers = std::make_unique<TimerList>();
    Status = std::make_unique<GameStatus>();
    OpenScores();
    GameMap = std::make_unique<FmpMap>();
    GameMap->SetTransparentColor(0);
    if (GameMap->Create(GameScreen.get(), kMapFile, 0, 0, kMapViewWidth, kMapViewHeight) == -1) {
        FatalError(GameScreen.get(), "Failed to Load Zelto.fmp");
    }
    CreatePlayer();
    CreateParticles();
    CreateEnemies();
    Timers->AddTimer(ToggleParticle, 1000);
    Timers->AddTimer(ToggleEnemy, 500);
    Timers->AddTimer(DrainEnergon, 500);
    Timers->StartAll();
    GongSound->Play(0, 0, 0);
}

void RunFrame() {
    // A screen whose mode could not be set has no buffers to draw; its fatal report has
    // already asked for the end.
    if (!GameScreen || GameScreen->Back == nullptr || !GameScreen->Back->Surface) return;
    if (GameInput) {
        GameInput->Update();
        if (GameInput->GetKeyState(kKeyEscape) != KeyUp) {
            if (Fader) Fader->FadeOut();
            // The fade ends on a black front buffer; let the display show it before the end.
            GameScreen->WaitVBlank();
            SendMessage(MainWindow, WM_CLOSE, 0, 0);
            return;
        }
    }
    GameScreen->Back->Fill(0);
    // A paused frame shows its label on the front buffer instead; a frame that held the thread
    // (an instruction screen) and was asked to end shows nothing: the message loop takes the
    // close request or the quit next.
    if (!RunGameStep()) return;
    GameScreen->Flip(kFlipWaitForBlank, kFlipStretchToScreen, 0);
}

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_CLOSE:
            ReleaseGame();
            PostQuitMessage(0);
            return 0;
        case WM_ACTIVATEAPP:
            // Coming back to the front resumes play from now, whole: the time spent behind
            // another application drains no Energon and moves nothing, and what the display
            // took away is back before the next picture.
            if (AppActive == 0 && wParam != 0) {
                RestoreLostSurfaces();
                if (Timers) Timers->StartAll();
            }
            // Play behind another application waits, shown as paused, until the player says
            // to go on.
            if (wParam == 0) PausePlay();
            AppActive = static_cast<std::int32_t>(wParam);
            return 0;
        case WM_SETCURSOR:
            SetCursor(nullptr);
            return 1;
        default:
            return DefWindowProc(window, message, wParam, lParam);
    }
}

void ReleaseGame() {
    // The input first: nothing is read while the game goes.
    GameInput.reset();
    // Sounds before the device they play on; the device closes the host's sound output.
    GruntSound.reset();
    MonsterSound.reset();
    ExplodeSound.reset();
    PickSound.reset();
    GongSound.reset();
    SpawnSound.reset();
    GameSound.reset();
    // Sprites before the sheets they refer to.
    for (auto& enemy : Enemies) enemy.reset();
    for (auto& particle : Particles) particle.reset();
    Player.reset();
    PlayerSheet.reset();
    EnergonSheet.reset();
    HudSprite.reset();
    HudSheet.reset();
    TitleSprite.reset();
    TitleSheet.reset();
    JestoidSheet.reset();
    SkullSheet.reset();
    CybudSheet.reset();
    SpikeSheet.reset();
    Scores.reset();
    Status.reset();
    Timers.reset();
    // The map's blocks and the fader before the screen they draw on.
    if (GameMap) GameMap->Destroy();
    GameMap.reset();
    Fader.reset();
    GameScreen.reset();
}

}  // namespace zelto
