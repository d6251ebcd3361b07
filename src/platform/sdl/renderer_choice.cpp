// SPDX-License-Identifier: MIT
#include "platform/sdl/renderer_choice.h"

#include <SDL.h>
#if !defined(__EMSCRIPTEN__) && !defined(_WIN32)
#include <SDL_syswm.h>
#endif

#include <initializer_list>

namespace platform {

bool GlDrawsInSoftware(SDL_Window* window) {
#if defined(__EMSCRIPTEN__) || defined(_WIN32)
    // A browser's WebGL is the canvas's own way to draw, whatever runs it; on Windows, SDL
    // draws through Direct3D, whose drivers answer for themselves.
    static_cast<void>(window);
    return false;
#else
    const char* forced = SDL_getenv("LIBGL_ALWAYS_SOFTWARE");
    if (forced != nullptr && forced[0] != '\0' && SDL_strcmp(forced, "0") != 0) return true;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return false;
    }
    // GL draws on the GPU only through one of these extensions of the X server: Mesa's drivers
    // through DRI3 or DRI2, NVIDIA's through its own. Without them Mesa falls back to drawing
    // in software (llvmpipe).
    for (const char* extension : {"DRI3", "DRI2", "NV-GLX"}) {
        int opcode = 0;
        int firstEvent = 0;
        int firstError = 0;
        if (XQueryExtension(info.info.x11.display, extension, &opcode, &firstEvent, &firstError)) {
            return false;
        }
    }
    return true;
#endif
}

SDL_Renderer* CreatePictureRenderer(SDL_Window* window) {
    if (SDL_GetHint(SDL_HINT_RENDER_DRIVER) == nullptr && GlDrawsInSoftware(window)) {
        // The window's own framebuffer then lies in memory shared with the X server; SDL would
        // otherwise put a GL texture under it, loading the driver after all. A value set in the
        // environment still wins over this one.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE)) {
            return renderer;
        }
    }
    if (SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED)) {
        return renderer;
    }
    return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

}  // namespace platform
