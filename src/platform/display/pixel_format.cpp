#include "pixel_format.h"

namespace platform {

int BytesPerPixel(DWORD rgbBitCount) { return static_cast<int>((rgbBitCount + 7) / 8); }

DDPIXELFORMAT PixelFormatForDepth(int bitsPerPixel) {
    DDPIXELFORMAT format;
    switch (bitsPerPixel) {
        case 8:
            format.dwFlags = DDPF_PALETTEINDEXED8 | DDPF_RGB;
            format.dwRGBBitCount = 8;
            break;
        case 15:
            format.dwFlags = DDPF_RGB;
            format.dwRGBBitCount = 16;
            format.dwRBitMask = 0x7C00;
            format.dwGBitMask = 0x03E0;
            format.dwBBitMask = 0x001F;
            break;
        case 16:
            format.dwFlags = DDPF_RGB;
            format.dwRGBBitCount = 16;
            format.dwRBitMask = 0xF800;
            format.dwGBitMask = 0x07E0;
            format.dwBBitMask = 0x001F;
            break;
        case 24:
        case 32:
            format.dwFlags = DDPF_RGB;
            format.dwRGBBitCount = static_cast<DWORD>(bitsPerPixel);
            format.dwRBitMask = 0x00FF0000;
            format.dwGBitMask = 0x0000FF00;
            format.dwBBitMask = 0x000000FF;
            break;
        default:
            break;
    }
    return format;
}

int DepthOfPixelFormat(const DDPIXELFORMAT& format) {
    if (format.dwRGBBitCount == 16 && format.dwGBitMask == 0x03E0) return 15;
    return static_cast<int>(format.dwRGBBitCount);
}

}  // namespace platform
