// SPDX-License-Identifier: MIT
// The game's start-up: InitApplication (the screen, the input, every picture, sound and the map,
// the actors, the timers and the gong's first play), headless on the fake host with the
// generated data set. Only InitApplication is timed: the window is made before it and the game
// released after it, outside the clock, as WinMain does around it.
//
// Beside it, what an SDL program loads at its start from the same files: every picture by
// SDL_LoadBMP converted to the screen's RGB 565, every sound by SDL_LoadWAV, and the gong
// converted by SDL to float stereo at 44,100 Hz as the mixer plays it. The map has no SDL
// loader and is left out of that side.
//
// The fake host's display is cheaper than SDL's: its screen is plain memory, with no window,
// renderer or texture to make, so the real program's start-up also pays SDL's video set-up on
// top of this figure. Faces and fontconfig are not part of InitApplication: the text service
// starts on a thread of its own in the real program, and the first text is drawn in the first
// frame.

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "game/spine/zelto.h"
#include "game_data_folder.h"
#include "platform/fake/fake_host.h"
#include "platform/host/window.h"

namespace {

using namespace zelto;

// A fixed time of day seeds the game's random numbers the same way in every run.
constexpr std::int64_t kTimeOfDay = 1'700'000'000;

platform::FakeHost* host = nullptr;

// What WinMain does before InitApplication, for a fresh game: the main window.
void OpenWindow(Game& game) {
    RegisterGameResources();
    CreateMainWindow(game, platform::SW_SHOWNORMAL);
}

// What the end of the program does after play: the game released as a close request releases
// it, the window, and every message left in the queue.
void CloseGame(Game& game) {
    platform::SendMessage(game.MainWindow, platform::WM_CLOSE, 0, 0);
    if (game.MainWindow != nullptr) platform::DestroyWindow(game.MainWindow);
    game.MainWindow = nullptr;
    platform::MSG message;
    while (platform::PeekMessage(&message, nullptr, 0, 0, platform::PM_REMOVE)) {
    }
}

void BM_InitApplication(benchmark::State& state) {
    for (auto _ : state) {
        Game game;
        OpenWindow(game);
        const auto start = std::chrono::steady_clock::now();
        const int started = InitApplication(game);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        const bool refused = started == 0 || !host->MessageBoxes().empty();
        CloseGame(game);
        if (refused) {
            state.SkipWithError("the game refused to start (is the data set there?)");
            break;
        }
    }
}
BENCHMARK(BM_InitApplication)->UseManualTime()->Unit(benchmark::kMillisecond);

constexpr const char* kPictures[] = {"SPIKE.BMP", "CYBUD.BMP", "SKULL.BMP", "JESTOID.BMP",
                                     "HUD.BMP",   "MAIN.BMP",  "ZELTO.BMP", "ENERGON.BMP"};
constexpr const char* kSounds[] = {"Pick.WAV", "SPAWN.WAV", "GRUNT.WAV", "Xplode.WAV", "MON.WAV"};
constexpr int kMixRate = 44'100;

// SDL's load of one picture in the screen's format; false when the file is not one.
bool LoadPictureWithSdl(const char* name) {
    SDL_Surface* loaded = SDL_LoadBMP(name);
    if (loaded == nullptr) return false;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
    SDL_FreeSurface(loaded);
    SDL_FreeSurface(converted);
    return converted != nullptr;
}

// SDL's load of one sound, converted for the mixer when asked; false when the file is not one.
bool LoadSoundWithSdl(const char* name, bool convert) {
    SDL_AudioSpec format;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(name, &format, &samples, &length) == nullptr) return false;
    bool loaded = !convert;
    SDL_AudioCVT cvt;
    if (convert && SDL_BuildAudioCVT(&cvt, format.format, format.channels, format.freq,
                                     AUDIO_F32SYS, 2, kMixRate) >= 0) {
        std::vector<Uint8> working(static_cast<std::size_t>(length) * std::max(cvt.len_mult, 1));
        std::memcpy(working.data(), samples, length);
        cvt.buf = working.data();
        cvt.len = static_cast<int>(length);
        loaded = SDL_ConvertAudio(&cvt) == 0;
    }
    SDL_FreeWAV(samples);
    return loaded;
}

void BM_SdlLoadPicturesAndSounds(benchmark::State& state) {
    for (auto _ : state) {
        bool loaded = true;
        for (const char* name : kPictures) loaded = LoadPictureWithSdl(name) && loaded;
        for (const char* name : kSounds) loaded = LoadSoundWithSdl(name, false) && loaded;
        loaded = LoadSoundWithSdl("GONG.WAV", true) && loaded;
        if (!loaded) {
            state.SkipWithError("SDL could not load the data set");
            break;
        }
    }
}
BENCHMARK(BM_SdlLoadPicturesAndSounds)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!bench::EnterGameDataFolder("startup_bench")) return 1;
    platform::FakeHost fake;
    host = &fake;
    platform::SetHost(&fake);
    fake.SetTimeOfDay(kTimeOfDay);
    fake.SetPicturesKept(0);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
