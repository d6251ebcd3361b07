// SPDX-License-Identifier: MIT
// Sprite frames of a real 40-frame sheet drawn onto a 640 x 480 16-bit surface: the engine's
// colour-keyed copy and scaled copy, against SDL's blits of the same frames with the same
// key (plain, and run-length accelerated) in the same run. Positions cover the whole surface
// and its edges, so some frames are clipped. SDL's fair anchor is the way its own programs
// draw sprites: each frame in a 32 x 32 surface of its own, keyed and run-length encoded; the
// sheet's sub-rectangles stay as extra rows (a run-length sheet is walked from its top rows to
// the frame's on every blit).

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cdx/sprite/cdxtile.h"
#include "cdx/surface/cdxscreen.h"
#include "platform/fake/fake_host.h"
#include "processor_levels.h"
#include "sprite_placements.h"

using namespace cdx;

namespace {

constexpr const char* kSheetFile = ZELTO_GAME_DIR "/SPIKE.BMP";
constexpr int kFrames = 40;
constexpr int kBlock = 32;
constexpr int kPlacements = 1024;
constexpr float kScale = 1.5f;

// Every frame's rectangle on a sheet perRow frames wide, for each side's draws.
std::vector<SDL_Rect> FrameRects(int perRow) {
    std::vector<SDL_Rect> rects;
    for (const bench::FrameCell& c : bench::FrameCells(kFrames, kBlock, perRow)) {
        rects.push_back(SDL_Rect{c.left, c.top, kBlock, kBlock});
    }
    return rects;
}

std::vector<platform::RECT> EngineFrameRects(int perRow) {
    std::vector<platform::RECT> rects;
    for (const bench::FrameCell& c : bench::FrameCells(kFrames, kBlock, perRow)) {
        rects.push_back(platform::RECT{c.left, c.top, c.left + kBlock, c.top + kBlock});
    }
    return rects;
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
    const auto placements = bench::SpritePlacements(kPlacements, kFrames, kBlock, 640, 480);
    const auto rects = EngineFrameRects(scene.sheet.PixelWidth / kBlock);
    for (auto _ : state) {
        for (const bench::SpritePlacement& p : placements) {
            benchmark::DoNotOptimize(
                scene.sheet.DrawCopyKeyed(scene.target.get(), p.x, p.y, rects[p.frame]));
        }
    }
    state.SetItemsProcessed(state.iterations() * kPlacements);
}
BENCHMARK(BM_EngineDrawCopyKeyed);

void SdlBlitKeyed(benchmark::State& state, bool runLength) {
    SdlScene scene(runLength);
    if (!scene.Ready()) return state.SkipWithError("the generated sheet could not be loaded");
    const auto placements = bench::SpritePlacements(kPlacements, kFrames, kBlock, 640, 480);
    const auto rects = FrameRects(scene.sheet->w / kBlock);
    for (auto _ : state) {
        for (const bench::SpritePlacement& p : placements) {
            SDL_Rect from = rects[p.frame];
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

// The grey both targets start from, so that a key pixel drawn by mistake shows.
constexpr Uint16 kBackground = 0x8410;

// SDL's side as its programs hold sprites: the sheet cut into one 32 x 32 surface per frame,
// each keyed by the sheet's key with SDL_RLEACCEL.
struct SdlPerFrameScene {
    std::vector<SDL_Surface*> frames;
    SDL_Surface* target = nullptr;

    SdlPerFrameScene() {
        SdlScene whole(false);
        if (!whole.Ready()) return;
        const Uint16 key = *static_cast<const Uint16*>(whole.sheet->pixels);
        const auto rects = FrameRects(whole.sheet->w / kBlock);
        for (int frame = 0; frame < kFrames; ++frame) {
            SDL_Surface* own =
                SDL_CreateRGBSurfaceWithFormat(0, kBlock, kBlock, 16, SDL_PIXELFORMAT_RGB565);
            if (own == nullptr) return;
            frames.push_back(own);
            const SDL_Rect& from = rects[frame];
            for (int row = 0; row < kBlock; ++row) {
                std::memcpy(static_cast<Uint8*>(own->pixels) + row * own->pitch,
                            static_cast<const Uint8*>(whole.sheet->pixels) +
                                (from.y + row) * whole.sheet->pitch + from.x * 2,
                            kBlock * 2);
            }
            SDL_SetColorKey(own, SDL_TRUE | SDL_RLEACCEL, key);
        }
        target = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
    }
    ~SdlPerFrameScene() {
        for (SDL_Surface* frame : frames) SDL_FreeSurface(frame);
        SDL_FreeSurface(target);
    }
    bool Ready() const { return static_cast<int>(frames.size()) == kFrames && target != nullptr; }

    void DrawAll(const std::vector<bench::SpritePlacement>& placements) {
        for (const bench::SpritePlacement& p : placements) {
            SDL_Rect to{p.x, p.y, kBlock, kBlock};
            SDL_BlitSurface(frames[p.frame], nullptr, target, &to);
        }
    }
};

// Draws every placement once with both sides on the same grey and compares the two targets
// pixel by pixel; a keyed copy leaves nothing to round, so every pixel must agree. Returns
// where they first differ, or an empty string.
std::string KeyedCopiesDisagree(SdlPerFrameScene& sdl,
                                const std::vector<bench::SpritePlacement>& placements) {
    EngineScene engine;
    if (!engine.ready) return "the generated sheet could not be loaded";
    const auto rects = EngineFrameRects(engine.sheet.PixelWidth / kBlock);
    engine.target->Fill(kBackground);
    for (const bench::SpritePlacement& p : placements) {
        engine.sheet.DrawCopyKeyed(engine.target.get(), p.x, p.y, rects[p.frame]);
    }
    SDL_FillRect(sdl.target, nullptr, kBackground);
    sdl.DrawAll(placements);
    if (engine.target->Lock() != platform::DD_OK) return "the engine's target cannot be read";
    std::string problem;
    int differing = 0;
    for (int y = 0; y < 480; ++y) {
        const auto* ours = reinterpret_cast<const Uint16*>(
            static_cast<const Uint8*>(engine.target->Desc.lpSurface) +
            y * engine.target->Desc.lPitch);
        const auto* theirs = reinterpret_cast<const Uint16*>(
            static_cast<const Uint8*>(sdl.target->pixels) + y * sdl.target->pitch);
        for (int x = 0; x < 640; ++x) {
            if (ours[x] == theirs[x]) continue;
            if (differing++ == 0) {
                problem = "the engine and SDL draw different pixels, first at (" +
                          std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        }
    }
    engine.target->Unlock();
    if (differing > 0) problem += ", " + std::to_string(differing) + " pixels in all";
    return problem;
}

void BM_SdlBlitSurfaceKeyedPerFrameRle(benchmark::State& state) {
    SdlPerFrameScene scene;
    if (!scene.Ready()) return state.SkipWithError("the generated sheet could not be loaded");
    const auto placements = bench::SpritePlacements(kPlacements, kFrames, kBlock, 640, 480);
    if (const std::string problem = KeyedCopiesDisagree(scene, placements); !problem.empty()) {
        return state.SkipWithError(problem.c_str());
    }
    for (auto _ : state) {
        for (const bench::SpritePlacement& p : placements) {
            SDL_Rect to{p.x, p.y, kBlock, kBlock};
            benchmark::DoNotOptimize(
                SDL_BlitSurface(scene.frames[p.frame], nullptr, scene.target, &to));
        }
    }
    state.SetItemsProcessed(state.iterations() * kPlacements);
}
BENCHMARK(BM_SdlBlitSurfaceKeyedPerFrameRle);

void BM_EngineDrawScaledKeyed(benchmark::State& state) {
    EngineScene scene;
    if (!scene.ready) return state.SkipWithError("the generated sheet could not be loaded");
    const auto placements = bench::SpritePlacements(kPlacements, kFrames, kBlock, 640, 480);
    const auto rects = EngineFrameRects(scene.sheet.PixelWidth / kBlock);
    for (auto _ : state) {
        for (const bench::SpritePlacement& p : placements) {
            benchmark::DoNotOptimize(
                scene.sheet.DrawScaledKeyed(scene.target.get(), p.x, p.y, rects[p.frame], kScale));
        }
    }
    state.SetItemsProcessed(state.iterations() * kPlacements);
}
BENCHMARK(BM_EngineDrawScaledKeyed);

void BM_SdlBlitScaledKeyed(benchmark::State& state) {
    SdlScene scene(false);
    if (!scene.Ready()) return state.SkipWithError("the generated sheet could not be loaded");
    const auto placements = bench::SpritePlacements(kPlacements, kFrames, kBlock, 640, 480);
    const auto rects = FrameRects(scene.sheet->w / kBlock);
    const int scaled = static_cast<int>(kBlock * kScale);
    const int shift = (scaled - kBlock) / 2;
    for (auto _ : state) {
        for (const bench::SpritePlacement& p : placements) {
            SDL_Rect from = rects[p.frame];
            SDL_Rect to{p.x - shift, p.y - shift, scaled, scaled};
            benchmark::DoNotOptimize(SDL_BlitScaled(scene.sheet, &from, scene.target, &to));
        }
    }
    state.SetItemsProcessed(state.iterations() * kPlacements);
}
BENCHMARK(BM_SdlBlitScaledKeyed);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::RunAtEveryProcessorLevel();
    benchmark::Shutdown();
    return 0;
}
