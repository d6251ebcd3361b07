// SPDX-License-Identifier: MIT
#pragma once

// Which of SDL's renderers shows the picture. The picture is one 640 x 480 texture scaled into
// the window, which any renderer draws well; where the only GL at hand draws in software (a
// virtual X server, a remote display, a machine without a GPU driver), SDL's software renderer
// does the same work without loading and starting a GL driver, which there takes several times
// the program's own start-up and memory.

struct SDL_Renderer;
struct SDL_Window;

namespace platform {

// Makes the renderer for the window: the software one where GL would draw in software, an
// accelerated one elsewhere, and the software one where no accelerated one can be made. A
// renderer named in SDL_RENDER_DRIVER is made as SDL makes it. Null when none can be made.
SDL_Renderer* CreatePictureRenderer(SDL_Window* window);

// True where the window system offers no direct rendering to GL (an X server without the DRI
// or NVIDIA extensions), or LIBGL_ALWAYS_SOFTWARE asks for software GL.
bool GlDrawsInSoftware(SDL_Window* window);

}  // namespace platform
