#include "cdximage.h"

using namespace platform;

std::shared_ptr<DisplayPalette> LoadDefaultPalette(DisplayDevice& display) {
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i) {
        entries[i].peRed = static_cast<std::uint8_t>(((i >> 5) & 7) * 255 / 7);
        entries[i].peGreen = static_cast<std::uint8_t>(((i >> 2) & 7) * 255 / 7);
        entries[i].peBlue = static_cast<std::uint8_t>((i & 3) * 255 / 3);
        entries[i].peFlags = 0;
    }
    std::shared_ptr<DisplayPalette> palette;
    if (display.CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette) != DD_OK) {
        return nullptr;
    }
    return palette;
}
