// SPDX-License-Identifier: MIT
// One HUD line drawn every frame: DrawString of 14 characters at height 20 onto a 16-bit
// surface, against SDL2_ttf rendering the same text and SDL blitting it onto the same surface.

#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>

#include <string>

#include "cdx/surface/cdxscreen.h"
#include "platform/fake/fake_host.h"

using namespace cdx;

namespace {

constexpr const char* kLine = "Energon: 00420";  // 14 characters

std::string DejaVuPath() {
    FcInit();
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("DejaVu Sans"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* file = nullptr;
    FcPatternGetString(match, FC_FILE, 0, &file);
    std::string path = reinterpret_cast<const char*>(file);
    FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return path;
}

void BM_DrawString(benchmark::State& state) {
    platform::FakeHost host;
    platform::SetHost(&host);
    CDXScreen screen;
    screen.CreateFullScreen(reinterpret_cast<platform::HWND>(1), 640, 480, 16, 0);
    CDXSurface surface(&screen, 640, 480, 1);
    surface.GetDC();
    surface.MakeFont("DejaVu Sans", 0, 20, 400);
    surface.SelectFont();
    for (auto _ : state) {
        surface.DrawString(530, 50, 0x191919, kLine);
        benchmark::ClobberMemory();
    }
    surface.ReleaseDC();
}
BENCHMARK(BM_DrawString);

void BM_SdlTtfRenderAndBlit(benchmark::State& state) {
    TTF_Init();
    TTF_Font* font = TTF_OpenFont(DejaVuPath().c_str(), 17);
    TTF_SetFontHinting(font, TTF_HINTING_MONO);
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Rect where{530, 50, 0, 0};
    for (auto _ : state) {
        SDL_Surface* text = TTF_RenderText_Solid(font, kLine, SDL_Color{25, 25, 25, 255});
        SDL_BlitSurface(text, nullptr, target, &where);
        SDL_FreeSurface(text);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(target);
    TTF_CloseFont(font);
}
BENCHMARK(BM_SdlTtfRenderAndBlit);

}  // namespace

BENCHMARK_MAIN();
