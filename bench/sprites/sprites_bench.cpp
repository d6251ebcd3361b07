// Sprite frames of a real 40-frame sheet drawn onto a 640 x 480 16-bit surface: the engine's
// colour-keyed copy and scaled copy, against SDL's blits of the same frames with the same
// key (plain, and run-length accelerated) in the same run. Positions cover the whole surface
// and its edges, so some frames are clipped.

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "cdxscreen.h"
#include "cdxtile.h"
#include "fake_host.h"

namespace {

constexpr const char* kSheetFile = ZELTO_GAME_DIR "/SPIKE.BMP";
constexpr int kFrames = 40;
constexpr int kBlock = 32;
constexpr int kPlacements = 1024;
constexpr float kScale = 1.5f;

struct Placement {
    int x;
    int y;
    int frame;
};

// Positions from 16 pixels outside the surface to 16 inside its far edges; about one frame in
// ten is cut by an edge.
std::vector<Placement> Placements() {
    std::vector<Placement> placements;
    std::uint32_t state = 7;
    for (int i = 0; i < kPlacements; ++i) {
        state = state * 1664525u + 1013904223u;
        const int x = static_cast<int>((state >> 8) % (640 + 32)) - 16;
        state = state * 1664525u + 1013904223u;
        const int y = static_cast<int>((state >> 8) % (480 + 32)) - 16;
        placements.push_back({x, y, i % kFrames});
    }
    return placements;
}

SDL_Rect FrameRect(int frame, int perRow) {
    return SDL_Rect{frame % perRow * kBlock, frame / perRow * kBlock, kBlock, kBlock};
}

// The engine on the fake host: a 16-bit screen, the sheet keyed by its top-left pixel, and a
// plain 640 x 480 target.
struct EngineScene {
    platform::FakeHost host;
    std::unique_ptr<CDXScreen> screen;
    CDXTile sheet;
    std::unique_ptr<CDXSurface> target;
    bool ready = false;

    EngineScene() {
        platform::SetHost(&host);
        screen = std::make_unique<CDXScreen>();
        if (screen->CreateFullScreen(reinterpret_cast<platform::HWND>(1), 640, 480, 16, 0) != 1 ||
            sheet.Create(screen.get(), kSheetFile, kBlock, kBlock, kFrames, 2) != 1) {
            return;
        }
        sheet.SetColorKey();
        target = std::make_unique<CDXSurface>(screen.get(), 640, 480, 1);
        ready = target->Surface != nullptr;
    }
};

// SDL's side: the same file in 5-6-5 with the same key.
struct SdlScene {
    SDL_Surface* sheet = nullptr;
    SDL_Surface* target = nullptr;

    explicit SdlScene(bool runLength) {
        SDL_Surface* loaded = SDL_LoadBMP(kSheetFile);
        if (loaded == nullptr) return;
        sheet = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
        SDL_FreeSurface(loaded);
        target = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
        if (sheet == nullptr || target == nullptr) return;
        const Uint16 key = *static_cast<const Uint16*>(sheet->pixels);
        SDL_SetColorKey(sheet, SDL_TRUE, key);
        SDL_SetSurfaceRLE(sheet, runLength ? 1 : 0);
    }
    ~SdlScene() {
        SDL_FreeSurface(sheet);
        SDL_FreeSurface(target);
    }
    bool Ready() const { return sheet != nullptr && target != nullptr; }
};

void BM_EngineDrawCopyKeyed(benchmark::State& state) {
    EngineScene scene;
    if (!scene.ready) return state.SkipWithError("the generated sheet could not be loaded");
    const auto placements = Placements();
    const int perRow = scene.sheet.PixelWidth / kBlock;
    for (auto _ : state) {
        for (const Placement& p : placements) {
            const SDL_Rect r = FrameRect(p.frame, perRow);
            benchmark::DoNotOptimize(scene.sheet.DrawCopyKeyed(
                scene.target.get(), p.x, p.y, platform::RECT{r.x, r.y, r.x + r.w, r.y + r.h}));
        }
    }
    state.SetItemsProcessed(state.iterations() * kPlacements);
}
BENCHMARK(BM_EngineDrawCopyKeyed);

void SdlBlitKeyed(benchmark::State& state, bool runLength) {
    SdlScene scene(runLength);
    if (!scene.Ready()) return state.SkipWithError("the generated sheet could not be loaded");
    const auto placements = Placements();
    const int perRow = scene.sheet->w / kBlock;
    for (auto _ : state) {
        for (const Placement& p : placements) {
            SDL_Rect from = FrameRect(p.frame, perRow);
            SDL_Rect to{p.x, p.y, kBlock, kBlock};
            benchmark::DoNotOptimize(SDL_BlitSurface(scene.sheet, &from, scene.target, &to));
        }
    }
    state.SetItemsProcessed(state.iterations() * kPlacements);
}
void BM_SdlBlitSurfaceKeyed(benchmark::State& state) {
    SdlBlitKeyed(state, false);
}
void BM_SdlBlitSurfaceKeyedRle(benchmark::State& state) {
    SdlBlitKeyed(state, true);
}
BENCHMARK(BM_SdlBlitSurfaceKeyed);
BENCHMARK(BM_SdlBlitSurfaceKeyedRle);

void BM_EngineDrawScaledKeyed(benchmark::State& state) {
    EngineScene scene;
    if (!scene.ready) return state.SkipWithError("the generated sheet could not be loaded");
    const auto placements = Placements();
    const int perRow = scene.sheet.PixelWidth / kBlock;
    for (auto _ : state) {
        for (const Placement& p : placements) {
            const SDL_Rect r = FrameRect(p.frame, perRow);
            benchmark::DoNotOptimize(scene.sheet.DrawScaledKeyed(
                scene.target.get(), p.x, p.y, platform::RECT{r.x, r.y, r.x + r.w, r.y + r.h},
                kScale));
        }
    }
    state.SetItemsProcessed(state.iterations() * kPlacements);
}
BENCHMARK(BM_EngineDrawScaledKeyed);

void BM_SdlBlitScaledKeyed(benchmark::State& state) {
    SdlScene scene(false);
    if (!scene.Ready()) return state.SkipWithError("the generated sheet could not be loaded");
    const auto placements = Placements();
    const int perRow = scene.sheet->w / kBlock;
    const int scaled = static_cast<int>(kBlock * kScale);
    const int shift = (scaled - kBlock) / 2;
    for (auto _ : state) {
        for (const Placement& p : placements) {
            SDL_Rect from = FrameRect(p.frame, perRow);
            SDL_Rect to{p.x - shift, p.y - shift, scaled, scaled};
            benchmark::DoNotOptimize(SDL_BlitScaled(scene.sheet, &from, scene.target, &to));
        }
    }
    state.SetItemsProcessed(state.iterations() * kPlacements);
}
BENCHMARK(BM_SdlBlitScaledKeyed);

}  // namespace

BENCHMARK_MAIN();
