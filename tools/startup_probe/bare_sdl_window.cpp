// SPDX-License-Identifier: MIT
// The smallest SDL program that shows what the game's SDL host shows first: a 640 x 480
// window made hidden and resizable at the centre of the screen, the renderer the host chooses
// (platform/sdl/renderer_choice.h: software where GL would draw in software, accelerated
// elsewhere) with linear scaling, a streaming ARGB8888 texture of 640 x 480, and one picture
// presented through it with its 4:3 shape kept by the renderer's logical size. It then waits for a
// close request (the window's, or SIGTERM). The start-up probe times it beside the game as the
// floor a program on SDL cannot go below.

#include <SDL.h>

#include <cstdint>
#include <cstdio>

#include "platform/sdl/renderer_choice.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A picture no pixel of which is black: a grey ramp over the width, brighter downwards, so a
// watcher sees it wherever it looks.
void PaintPicture(std::uint32_t* pixels, int pitch) {
    for (int y = 0; y < kHeight; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(pixels) + y * pitch);
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t level = 64 + (x + y) * 128 / (kWidth + kHeight);
            row[x] = 0xFF000000u | level << 16 | level << 8 | level;
        }
    }
}

int Fail(const char* what) {
    std::fprintf(stderr, "startup_probe: %s: %s\n", what, SDL_GetError());
    SDL_Quit();
    return 1;
}

}  // namespace

int main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return Fail("cannot open the display");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    SDL_Window* window =
        SDL_CreateWindow("startup_probe", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth,
                         kHeight, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (window == nullptr) return Fail("cannot make the window");
    SDL_Renderer* renderer = platform::CreatePictureRenderer(window);
    if (renderer == nullptr) return Fail("cannot make a renderer");
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);

    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                             SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
    if (texture == nullptr) return Fail("cannot make the texture");
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0)
        return Fail("cannot fill the texture");
    PaintPicture(static_cast<std::uint32_t*>(pixels), pitch);
    SDL_UnlockTexture(texture);
    SDL_RenderSetLogicalSize(renderer, kWidth, kHeight);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);

    // The picture stays up until a close request; an exposed window is drawn again.
    SDL_Event event;
    while (SDL_WaitEvent(&event) != 0 && event.type != SDL_QUIT) {
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
            SDL_RenderClear(renderer);
            SDL_RenderCopy(renderer, texture, nullptr, nullptr);
            SDL_RenderPresent(renderer);
        }
    }
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
