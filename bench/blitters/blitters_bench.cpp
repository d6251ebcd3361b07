// SPDX-License-Identifier: MIT
// The software blends and shadows on a 640 x 480 16-bit surface, as 32 x 32 frames of the
// generated SPIKE.BMP sheet at positions over the whole surface (some cut by its edges) and as
// one full-surface draw of the title picture; next to SDL's nearest blits of the same pixels:
// surface alpha modulation (128 for the average, the level for the translucent blend, with the
// colour key and run-length acceleration for the keyed one), a black surface modulated to the
// shadow's strength, and an ARGB8888 source with per-pixel alpha for the alpha map. Last, one
// fader pass over the title against a plain copy of the same frame.
// SDL's fair anchor for the keyed frames is the way its own programs hold sprites: each frame
// in a 32 x 32 surface of its own, run-length encoded (the rows named PerFrameRle); the rows
// that blit sub-rectangles of one sheet stay as extra rows.

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cdx/sprite/cdxtile.h"
#include "cdx/surface/cdxscreen.h"
#include "game/fader/screenfader.h"
#include "platform/fake/fake_host.h"
#include "processor_levels.h"
#include "sprite_placements.h"

using namespace cdx;

namespace {

using zelto::ScreenFader;

constexpr const char* kSheetFile = ZELTO_GAME_DIR "/SPIKE.BMP";
constexpr const char* kTitleFile = ZELTO_GAME_DIR "/MAIN.BMP";
constexpr int kFrames = 40;
constexpr int kBlock = 32;
constexpr int kPlacements = 1024;
constexpr std::uint16_t kLevel = 128;

// The alpha byte both sides give a picture's pixel: transparent where the key is, else a
// weight that varies across the picture.
std::uint8_t AlphaAt(int x, int y, bool keyed) {
    return keyed ? 0 : static_cast<std::uint8_t>(64 + (x * 5 + y * 3) % 192);
}

enum class Picture { Sheet, Title };

// The engine on the fake host: a 16-bit screen, the picture keyed by its top-left pixel with
// an alpha map, and a plain 640 x 480 target.
struct EngineScene {
    platform::FakeHost host;
    std::unique_ptr<CDXScreen> screen;
    CDXTile source;
    std::unique_ptr<CDXSurface> target;
    bool ready = false;

    explicit EngineScene(Picture picture) {
        platform::SetHost(&host);
        screen = std::make_unique<CDXScreen>();
        const bool sheet = picture == Picture::Sheet;
        if (screen->CreateFullScreen(reinterpret_cast<platform::HWND>(1), 640, 480, 16, 0) != 1 ||
            source.Create(screen.get(), sheet ? kSheetFile : kTitleFile, sheet ? kBlock : 640,
                          sheet ? kBlock : 480, sheet ? kFrames : 1, 2) != 1) {
            return;
        }
        source.SetColorKey();
        source.AlphaMap = std::make_unique<std::uint8_t[]>(
            static_cast<std::size_t>(source.PixelWidth) * source.PixelHeight);
        source.Lock();
        for (int y = 0; y < source.PixelHeight; ++y) {
            for (int x = 0; x < source.PixelWidth; ++x) {
                source.AlphaMap[y * source.PixelWidth + x] =
                    AlphaAt(x, y, source.GetPixel(x, y) == source.ColorKey);
            }
        }
        source.Unlock();
        target = std::make_unique<CDXSurface>(screen.get(), 640, 480, 1);
        target->Fill(0x8410);
        ready = target->Surface != nullptr;
    }
};

using EngineDraw = platform::HRESULT (*)(CDXTile&, CDXSurface*, int, int, platform::RECT);

void RunEngine(benchmark::State& state, Picture picture, EngineDraw draw) {
    EngineScene scene(picture);
    if (!scene.ready) return state.SkipWithError("the generated picture could not be loaded");
    if (picture == Picture::Title) {
        for (auto _ : state) {
            benchmark::DoNotOptimize(
                draw(scene.source, scene.target.get(), 0, 0, platform::RECT{0, 0, 640, 480}));
        }
        state.SetItemsProcessed(state.iterations() * 640 * 480);
        return;
    }
    const auto placements = bench::SpritePlacements(kPlacements, kFrames, kBlock, 640, 480);
    std::vector<platform::RECT> rects;
    for (const bench::FrameCell& c :
         bench::FrameCells(kFrames, kBlock, scene.source.PixelWidth / kBlock)) {
        rects.push_back(platform::RECT{c.left, c.top, c.left + kBlock, c.top + kBlock});
    }
    for (auto _ : state) {
        for (const bench::SpritePlacement& p : placements) {
            benchmark::DoNotOptimize(
                draw(scene.source, scene.target.get(), p.x, p.y, rects[p.frame]));
        }
    }
    state.SetItemsProcessed(state.iterations() * kPlacements * kBlock * kBlock);
}

// SDL's side: the same picture in 5-6-5 (or ARGB8888 with the same alpha), the same key.
enum class SdlBlend { AlphaMod, AlphaModKeyed, Shadow, ShadowKeyed, PerPixelAlpha };

struct SdlScene {
    SDL_Surface* source = nullptr;
    SDL_Surface* target = nullptr;

    SdlScene(Picture picture, SdlBlend blend, Uint8 alpha) {
        SDL_Surface* loaded = SDL_LoadBMP(picture == Picture::Sheet ? kSheetFile : kTitleFile);
        if (loaded == nullptr) return;
        SDL_Surface* rgb565 = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
        SDL_FreeSurface(loaded);
        target = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
        if (rgb565 == nullptr || target == nullptr) return;
        SDL_FillRect(target, nullptr, 0x8410);
        const Uint16 key = *static_cast<const Uint16*>(rgb565->pixels);
        const bool keyed = blend == SdlBlend::AlphaModKeyed || blend == SdlBlend::ShadowKeyed;
        switch (blend) {
            case SdlBlend::AlphaMod:
            case SdlBlend::AlphaModKeyed:
                source = rgb565;
                break;
            case SdlBlend::Shadow:
            case SdlBlend::ShadowKeyed:
                // The shadow as SDL would draw it: black over the destination at the strength
                // the shadow takes away, keyed by the frame's key for the silhouette.
                source = rgb565;
                SDL_LockSurface(source);
                for (int y = 0; y < source->h; ++y) {
                    auto* row = reinterpret_cast<Uint16*>(static_cast<Uint8*>(source->pixels) +
                                                          y * source->pitch);
                    for (int x = 0; x < source->w; ++x) row[x] = row[x] == key ? key : 0;
                }
                SDL_UnlockSurface(source);
                break;
            case SdlBlend::PerPixelAlpha:
                source = SDL_ConvertSurfaceFormat(rgb565, SDL_PIXELFORMAT_ARGB8888, 0);
                if (source != nullptr) {
                    SDL_LockSurface(source);
                    for (int y = 0; y < source->h; ++y) {
                        const auto* from = reinterpret_cast<const Uint16*>(
                            static_cast<const Uint8*>(rgb565->pixels) + y * rgb565->pitch);
                        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(source->pixels) +
                                                              y * source->pitch);
                        for (int x = 0; x < source->w; ++x) {
                            row[x] = (row[x] & 0x00FFFFFFu) |
                                     (static_cast<Uint32>(AlphaAt(x, y, from[x] == key)) << 24);
                        }
                    }
                    SDL_UnlockSurface(source);
                    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_BLEND);
                }
                SDL_FreeSurface(rgb565);
                return;
        }
        if (keyed) SDL_SetColorKey(source, SDL_TRUE, key);
        SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_BLEND);
        SDL_SetSurfaceAlphaMod(source, alpha);
        SDL_SetSurfaceRLE(source, 1);
    }
    ~SdlScene() {
        SDL_FreeSurface(source);
        SDL_FreeSurface(target);
    }
    bool Ready() const { return source != nullptr && target != nullptr; }
};

void RunSdl(benchmark::State& state, Picture picture, SdlBlend blend, Uint8 alpha) {
    SdlScene scene(picture, blend, alpha);
    if (!scene.Ready()) return state.SkipWithError("the generated picture could not be loaded");
    if (picture == Picture::Title) {
        for (auto _ : state) {
            SDL_Rect to{0, 0, 640, 480};
            benchmark::DoNotOptimize(SDL_BlitSurface(scene.source, nullptr, scene.target, &to));
        }
        state.SetItemsProcessed(state.iterations() * 640 * 480);
        return;
    }
    const auto placements = bench::SpritePlacements(kPlacements, kFrames, kBlock, 640, 480);
    const auto cells = bench::FrameCells(kFrames, kBlock, scene.source->w / kBlock);
    for (auto _ : state) {
        for (const bench::SpritePlacement& p : placements) {
            SDL_Rect from{cells[p.frame].left, cells[p.frame].top, kBlock, kBlock};
            SDL_Rect to{p.x, p.y, kBlock, kBlock};
            benchmark::DoNotOptimize(SDL_BlitSurface(scene.source, &from, scene.target, &to));
        }
    }
    state.SetItemsProcessed(state.iterations() * kPlacements * kBlock * kBlock);
}

// The engine's routines, each as one call on the source.
platform::HRESULT Average(CDXTile& s, CDXSurface* d, int x, int y, platform::RECT r) {
    return s.DrawAverage(d, x, y, r);
}
platform::HRESULT AverageKeyed(CDXTile& s, CDXSurface* d, int x, int y, platform::RECT r) {
    return s.DrawAverageKeyed(d, x, y, r);
}
platform::HRESULT Translucent(CDXTile& s, CDXSurface* d, int x, int y, platform::RECT r) {
    return s.DrawTranslucent(d, x, y, r, kLevel);
}
platform::HRESULT TranslucentKeyed(CDXTile& s, CDXSurface* d, int x, int y, platform::RECT r) {
    return s.DrawTranslucentKeyed(d, x, y, r, kLevel);
}
// A weight other than the half blend's, which the translucent blend works out with a multiply
// per channel: the destination keeps 96 / 256, the source 160 / 256.
constexpr std::uint16_t kOtherLevel = 96;
platform::HRESULT TranslucentKeyedOther(CDXTile& s, CDXSurface* d, int x, int y, platform::RECT r) {
    return s.DrawTranslucentKeyed(d, x, y, r, kOtherLevel);
}
platform::HRESULT AlphaMap(CDXTile& s, CDXSurface* d, int x, int y, platform::RECT r) {
    return s.DrawAlphaMap(d, x, y, r);
}
platform::HRESULT Shadow(CDXTile& s, CDXSurface* d, int x, int y, platform::RECT r) {
    return s.DrawShadow(d, x, y, r, kLevel);
}
platform::HRESULT ShadowKeyed(CDXTile& s, CDXSurface* d, int x, int y, platform::RECT r) {
    return s.DrawShadowKeyed(d, x, y, r, kLevel);
}
platform::HRESULT HalfShadow(CDXTile& s, CDXSurface* d, int x, int y, platform::RECT r) {
    return s.DrawHalfShadow(d, x, y, r);
}
platform::HRESULT HalfShadowKeyed(CDXTile& s, CDXSurface* d, int x, int y, platform::RECT r) {
    return s.DrawHalfShadowKeyed(d, x, y, r);
}

// SDL's side as its programs hold sprites: every frame of the sheet in a 32 x 32 surface of
// its own, with the sheet scene's format, key, blend and alpha, run-length encoded (keyed runs
// for the 5-6-5 frames, alpha runs for the ARGB8888 ones).
struct SdlPerFrameScene {
    std::vector<SDL_Surface*> frames;
    SDL_Surface* target = nullptr;

    SdlPerFrameScene(SdlBlend blend, Uint8 alpha) {
        SdlScene whole(Picture::Sheet, blend, alpha);
        if (!whole.Ready() || SDL_LockSurface(whole.source) != 0) return;
        const SDL_PixelFormat& format = *whole.source->format;
        const int perRow = whole.source->w / kBlock;
        for (int frame = 0; frame < kFrames; ++frame) {
            SDL_Surface* own = SDL_CreateRGBSurfaceWithFormat(0, kBlock, kBlock,
                                                              format.BitsPerPixel, format.format);
            if (own == nullptr) break;
            frames.push_back(own);
            const int left = frame % perRow * kBlock;
            const int top = frame / perRow * kBlock;
            for (int row = 0; row < kBlock; ++row) {
                std::memcpy(static_cast<Uint8*>(own->pixels) + row * own->pitch,
                            static_cast<const Uint8*>(whole.source->pixels) +
                                (top + row) * whole.source->pitch + left * format.BytesPerPixel,
                            kBlock * format.BytesPerPixel);
            }
            Uint32 key = 0;
            if (SDL_GetColorKey(whole.source, &key) == 0) {
                SDL_SetColorKey(own, SDL_TRUE | SDL_RLEACCEL, key);
            }
            SDL_BlendMode mode = SDL_BLENDMODE_NONE;
            SDL_GetSurfaceBlendMode(whole.source, &mode);
            SDL_SetSurfaceBlendMode(own, mode);
            SDL_SetSurfaceAlphaMod(own, alpha);
            SDL_SetSurfaceRLE(own, 1);
        }
        SDL_UnlockSurface(whole.source);
        target = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
        if (target != nullptr) SDL_FillRect(target, nullptr, 0x8410);
    }
    ~SdlPerFrameScene() {
        for (SDL_Surface* frame : frames) SDL_FreeSurface(frame);
        SDL_FreeSurface(target);
    }
    bool Ready() const { return static_cast<int>(frames.size()) == kFrames && target != nullptr; }
};

// The largest difference in one 5-6-5 channel that the two sides may leave in a pixel: both
// mix in their own arithmetic (SDL's 16-bit blends weigh in 32nds, the engine in 256ths) and
// round apart, where 1024 frames pile up over each other by up to one step of a channel at
// alpha 128 and two with per-pixel alpha. A wrong frame, place, key or weight differs by ten
// steps and more.
constexpr int kRoundingSteps = 2;

int LargestChannelDifference(Uint16 a, Uint16 b) {
    const int red = std::abs((a >> 11) - (b >> 11));
    const int green = std::abs(((a >> 5) & 0x3F) - ((b >> 5) & 0x3F));
    const int blue = std::abs((a & 0x1F) - (b & 0x1F));
    return std::max({red, green, blue});
}

// Draws every placement once with the engine routine and once with SDL's per-frame surfaces,
// both on the same grey, and compares the targets pixel by pixel. Returns where they differ by
// more than rounding, or an empty string when they agree.
std::string BlendsDisagree(SdlPerFrameScene& sdl, EngineDraw draw, const char* drawName) {
    EngineScene engine(Picture::Sheet);
    if (!engine.ready) return "the generated picture could not be loaded";
    const auto placements = bench::SpritePlacements(kPlacements, kFrames, kBlock, 640, 480);
    const int perRow = engine.source.PixelWidth / kBlock;
    SDL_FillRect(sdl.target, nullptr, 0x8410);
    for (const bench::SpritePlacement& p : placements) {
        const int left = p.frame % perRow * kBlock;
        const int top = p.frame / perRow * kBlock;
        draw(engine.source, engine.target.get(), p.x, p.y,
             platform::RECT{left, top, left + kBlock, top + kBlock});
        SDL_Rect to{p.x, p.y, kBlock, kBlock};
        SDL_BlitSurface(sdl.frames[p.frame], nullptr, sdl.target, &to);
    }
    if (engine.target->Lock() != platform::DD_OK) return "the engine's target cannot be read";
    const auto* ours = static_cast<const Uint8*>(engine.target->Desc.lpSurface);
    const auto* theirs = static_cast<const Uint8*>(sdl.target->pixels);
    int differing = 0;
    int largest = 0;
    int firstX = 0;
    int firstY = 0;
    for (int y = 0; y < 480; ++y) {
        const auto* ourRow = reinterpret_cast<const Uint16*>(ours + y * engine.target->Desc.lPitch);
        const auto* theirRow = reinterpret_cast<const Uint16*>(theirs + y * sdl.target->pitch);
        for (int x = 0; x < 640; ++x) {
            const int difference = LargestChannelDifference(ourRow[x], theirRow[x]);
            largest = std::max(largest, difference);
            if (difference <= kRoundingSteps) continue;
            if (differing++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    }
    engine.target->Unlock();
    if (differing == 0) return {};
    std::string problem = drawName;
    problem += " and SDL's per-frame blits differ by more than rounding at ";
    problem += std::to_string(differing);
    problem += " pixels, first at (";
    problem += std::to_string(firstX);
    problem += ", ";
    problem += std::to_string(firstY);
    problem += "), by up to ";
    problem += std::to_string(largest);
    problem += " steps of a channel";
    return problem;
}

// An SDL blend on per-frame surfaces and the engine routines whose pixels it must reproduce.
struct PerFrameAnchor {
    SdlBlend blend;
    Uint8 alpha;
    std::vector<std::pair<EngineDraw, const char*>> sameAs;
};

void RunSdl(benchmark::State& state, const PerFrameAnchor& anchor) {
    SdlPerFrameScene scene(anchor.blend, anchor.alpha);
    if (!scene.Ready()) return state.SkipWithError("the generated picture could not be loaded");
    for (const auto& [draw, name] : anchor.sameAs) {
        if (const std::string problem = BlendsDisagree(scene, draw, name); !problem.empty()) {
            return state.SkipWithError(problem.c_str());
        }
    }
    const auto placements = bench::SpritePlacements(kPlacements, kFrames, kBlock, 640, 480);
    for (auto _ : state) {
        for (const bench::SpritePlacement& p : placements) {
            SDL_Rect to{p.x, p.y, kBlock, kBlock};
            benchmark::DoNotOptimize(
                SDL_BlitSurface(scene.frames[p.frame], nullptr, scene.target, &to));
        }
    }
    state.SetItemsProcessed(state.iterations() * kPlacements * kBlock * kBlock);
}

// Alpha 128 with the key stands for both the keyed average and the keyed translucent blend at
// the level measured here (128); the per-pixel alpha for the alpha map.
const PerFrameAnchor kKeyedAlphaMod{
    SdlBlend::AlphaModKeyed,
    128,
    {{AverageKeyed, "DrawAverageKeyed"}, {TranslucentKeyed, "DrawTranslucentKeyed"}}};
const PerFrameAnchor kKeyedAlphaModOther{
    SdlBlend::AlphaModKeyed, 256 - kOtherLevel, {{TranslucentKeyedOther, "DrawTranslucentKeyed"}}};
const PerFrameAnchor kPerPixelAlpha{SdlBlend::PerPixelAlpha, 255, {{AlphaMap, "DrawAlphaMap"}}};

BENCHMARK_CAPTURE(RunEngine, AverageFrames, Picture::Sheet, Average);
BENCHMARK_CAPTURE(RunEngine, AverageScreen, Picture::Title, Average);
BENCHMARK_CAPTURE(RunEngine, AverageKeyedFrames, Picture::Sheet, AverageKeyed);
BENCHMARK_CAPTURE(RunEngine, AverageKeyedScreen, Picture::Title, AverageKeyed);
BENCHMARK_CAPTURE(RunSdl, AlphaMod128Frames, Picture::Sheet, SdlBlend::AlphaMod, 128);
BENCHMARK_CAPTURE(RunSdl, AlphaMod128Screen, Picture::Title, SdlBlend::AlphaMod, 128);

BENCHMARK_CAPTURE(RunEngine, TranslucentFrames, Picture::Sheet, Translucent);
BENCHMARK_CAPTURE(RunEngine, TranslucentScreen, Picture::Title, Translucent);
BENCHMARK_CAPTURE(RunEngine, TranslucentKeyedFrames, Picture::Sheet, TranslucentKeyed);
BENCHMARK_CAPTURE(RunEngine, TranslucentKeyedScreen, Picture::Title, TranslucentKeyed);
BENCHMARK_CAPTURE(RunSdl, AlphaModKeyedRleFrames, Picture::Sheet, SdlBlend::AlphaModKeyed, 128);
BENCHMARK_CAPTURE(RunSdl, AlphaModKeyedRleScreen, Picture::Title, SdlBlend::AlphaModKeyed, 128);
BENCHMARK_CAPTURE(RunSdl, AlphaModKeyedFramesPerFrameRle, kKeyedAlphaMod);
BENCHMARK_CAPTURE(RunEngine, TranslucentKeyed96Frames, Picture::Sheet, TranslucentKeyedOther);
BENCHMARK_CAPTURE(RunSdl, AlphaMod160KeyedFramesPerFrameRle, kKeyedAlphaModOther);

BENCHMARK_CAPTURE(RunEngine, AlphaMapFrames, Picture::Sheet, AlphaMap);
BENCHMARK_CAPTURE(RunEngine, AlphaMapScreen, Picture::Title, AlphaMap);
BENCHMARK_CAPTURE(RunSdl, PerPixelAlphaFrames, Picture::Sheet, SdlBlend::PerPixelAlpha, 255);
BENCHMARK_CAPTURE(RunSdl, PerPixelAlphaScreen, Picture::Title, SdlBlend::PerPixelAlpha, 255);
BENCHMARK_CAPTURE(RunSdl, PerPixelAlphaFramesPerFrameRle, kPerPixelAlpha);

BENCHMARK_CAPTURE(RunEngine, ShadowFrames, Picture::Sheet, Shadow);
BENCHMARK_CAPTURE(RunEngine, ShadowScreen, Picture::Title, Shadow);
BENCHMARK_CAPTURE(RunEngine, ShadowKeyedFrames, Picture::Sheet, ShadowKeyed);
BENCHMARK_CAPTURE(RunEngine, ShadowKeyedScreen, Picture::Title, ShadowKeyed);
BENCHMARK_CAPTURE(RunEngine, HalfShadowFrames, Picture::Sheet, HalfShadow);
BENCHMARK_CAPTURE(RunEngine, HalfShadowScreen, Picture::Title, HalfShadow);
BENCHMARK_CAPTURE(RunEngine, HalfShadowKeyedFrames, Picture::Sheet, HalfShadowKeyed);
BENCHMARK_CAPTURE(RunEngine, HalfShadowKeyedScreen, Picture::Title, HalfShadowKeyed);
BENCHMARK_CAPTURE(RunSdl, BlackShadowFrames, Picture::Sheet, SdlBlend::Shadow, 128);
BENCHMARK_CAPTURE(RunSdl, BlackShadowScreen, Picture::Title, SdlBlend::Shadow, 128);
BENCHMARK_CAPTURE(RunSdl, BlackShadowKeyedFrames, Picture::Sheet, SdlBlend::ShadowKeyed, 128);
BENCHMARK_CAPTURE(RunSdl, BlackShadowKeyedScreen, Picture::Title, SdlBlend::ShadowKeyed, 128);

// The fader's pass and the copy it is measured against, over the title on a 16-bit screen.
struct FaderScene {
    platform::FakeHost host;
    std::unique_ptr<CDXScreen> screen;
    std::unique_ptr<ScreenFader> fader;
    CDXTile title;
    std::unique_ptr<CDXSurface> older;
    std::unique_ptr<CDXSurface> work;
    bool ready = false;

    FaderScene() {
        platform::SetHost(&host);
        screen = std::make_unique<CDXScreen>();
        if (screen->CreateFullScreen(reinterpret_cast<platform::HWND>(1), 640, 480, 16, 0) != 1 ||
            title.Create(screen.get(), kTitleFile, 640, 480, 1, 1) != 1) {
            return;
        }
        fader = std::make_unique<ScreenFader>(screen.get());
        older = std::make_unique<CDXSurface>(screen.get(), 640, 480, 1);
        work = std::make_unique<CDXSurface>(screen.get(), 640, 480, 1);
        older->Fill(0x1234);
        ready = older->Surface && work->Surface && title.Lock() == platform::DD_OK &&
                older->Lock() == platform::DD_OK && work->Lock() == platform::DD_OK;
    }
    static FadePicture PictureOf(CDXSurface& surface) {
        return FadePicture{static_cast<std::uint8_t*>(surface.Desc.lpSurface), surface.Desc.lPitch};
    }
};

// The passes run the fade walks of the processor level the row ends in; the rows ending in
// Plain walk the brightness tables pixel by pixel instead.
void RunCrossFadePass(benchmark::State& state, bool byMultipliers) {
    FaderScene scene;
    if (!scene.ready) return state.SkipWithError("the title could not be loaded");
    scene.fader->WalkByMultipliers = byMultipliers;
    int step = 0;
    for (auto _ : state) {
        scene.fader->MixStep(step, FaderScene::PictureOf(*scene.older),
                             FaderScene::PictureOf(scene.title), FaderScene::PictureOf(*scene.work),
                             640, 480);
        step = (step + 1) % ScreenFader::kLevels;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
void BM_FaderCrossFadePass(benchmark::State& state) {
    RunCrossFadePass(state, true);
}
BENCHMARK(BM_FaderCrossFadePass);
void BM_FaderCrossFadePassPlain(benchmark::State& state) {
    RunCrossFadePass(state, false);
}
BENCHMARK(BM_FaderCrossFadePassPlain);

void RunFadeOutPass(benchmark::State& state, bool byMultipliers) {
    FaderScene scene;
    if (!scene.ready) return state.SkipWithError("the title could not be loaded");
    scene.fader->WalkByMultipliers = byMultipliers;
    int level = 1;
    for (auto _ : state) {
        scene.fader->DarkenStep(level, FaderScene::PictureOf(scene.title),
                                FaderScene::PictureOf(*scene.work), platform::RECT{0, 0, 640, 480});
        level = level % 30 + 1;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
void BM_FaderFadeOutPass(benchmark::State& state) {
    RunFadeOutPass(state, true);
}
BENCHMARK(BM_FaderFadeOutPass);
void BM_FaderFadeOutPassPlain(benchmark::State& state) {
    RunFadeOutPass(state, false);
}
BENCHMARK(BM_FaderFadeOutPassPlain);

// Building the brightness tables, with the clear of the screen's two buffers that the fader's
// construction makes.
void BM_FaderBuildTables(benchmark::State& state) {
    FaderScene scene;
    if (!scene.ready) return state.SkipWithError("the title could not be loaded");
    for (auto _ : state) {
        ScreenFader fader(scene.screen.get());
        benchmark::DoNotOptimize(fader.Brightness(16, 0xFFFF));
    }
}
BENCHMARK(BM_FaderBuildTables)->Unit(benchmark::kMicrosecond);

void BM_PlainCopyOfTheFrame(benchmark::State& state) {
    FaderScene scene;
    if (!scene.ready) return state.SkipWithError("the title could not be loaded");
    const FadePicture from = FaderScene::PictureOf(scene.title);
    const FadePicture to = FaderScene::PictureOf(*scene.work);
    for (auto _ : state) {
        for (int y = 0; y < 480; ++y) {
            std::memcpy(to.pixels + y * to.pitch, from.pixels + y * from.pitch, 640 * 2);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_PlainCopyOfTheFrame);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::RunAtEveryProcessorLevel();
    benchmark::Shutdown();
    return 0;
}
