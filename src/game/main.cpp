// The process entry: installs the SDL host and runs the game.

#include <cstdio>

#include "sdl_host.h"
#include "window.h"
#include "zelto.h"

int main() {
    platform::SdlHost host;
    if (!host.Ready()) {
        std::fprintf(stderr, "zelto: cannot open the display: %s\n", host.StartError());
        return 1;
    }
    platform::SetHost(&host);
    return WinMain(nullptr, nullptr, "", platform::SW_SHOWNORMAL);
}
