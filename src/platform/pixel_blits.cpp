#include "pixel_blits.h"

#include <cstring>

namespace platform {

std::uint32_t ReadPixel(const std::uint8_t* at, int bytesPerPixel) {
    switch (bytesPerPixel) {
        case 1:
            return at[0];
        case 2:
            return static_cast<std::uint32_t>(at[0] | (at[1] << 8));
        case 3:
            return static_cast<std::uint32_t>(at[0] | (at[1] << 8) | (at[2] << 16));
        default: {
            std::uint32_t value;
            std::memcpy(&value, at, 4);
            return value;
        }
    }
}

void WritePixel(std::uint8_t* at, int bytesPerPixel, std::uint32_t value) {
    switch (bytesPerPixel) {
        case 1:
            at[0] = static_cast<std::uint8_t>(value);
            break;
        case 2:
            at[0] = static_cast<std::uint8_t>(value);
            at[1] = static_cast<std::uint8_t>(value >> 8);
            break;
        case 3:
            at[0] = static_cast<std::uint8_t>(value);
            at[1] = static_cast<std::uint8_t>(value >> 8);
            at[2] = static_cast<std::uint8_t>(value >> 16);
            break;
        default:
            std::memcpy(at, &value, 4);
            break;
    }
}

std::uint32_t PixelValueMask(int bytesPerPixel) {
    return bytesPerPixel >= 4 ? 0xFFFFFFFFu : (1u << (8 * bytesPerPixel)) - 1u;
}

void CopyPixels(ConstPixelSpan source, PixelSpan dest, int width, int height, int bytesPerPixel) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
    for (int row = 0; row < height; ++row) {
        std::memmove(dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch,
                     source.first + static_cast<std::ptrdiff_t>(row) * source.pitch, rowBytes);
    }
}

void CopyPixelsKeyedReference(ConstPixelSpan source, PixelSpan dest, int width, int height,
                              int bytesPerPixel, std::uint32_t key) {
    key &= PixelValueMask(bytesPerPixel);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* from = source.first + static_cast<std::ptrdiff_t>(row) * source.pitch;
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch;
        for (int column = 0; column < width; ++column) {
            const std::uint32_t pixel = ReadPixel(from + column * bytesPerPixel, bytesPerPixel);
            if (pixel != key) WritePixel(to + column * bytesPerPixel, bytesPerPixel, pixel);
        }
    }
}

void CopyPixelsKeyed(ConstPixelSpan source, PixelSpan dest, int width, int height,
                     int bytesPerPixel, std::uint32_t key) {
    CopyPixelsKeyedReference(source, dest, width, height, bytesPerPixel, key);
}

void FillPixels(PixelSpan dest, int width, int height, int bytesPerPixel, std::uint32_t value) {
    for (int row = 0; row < height; ++row) {
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch;
        if (bytesPerPixel == 1) {
            std::memset(to, static_cast<int>(value & 0xFF), static_cast<std::size_t>(width));
            continue;
        }
        for (int column = 0; column < width; ++column) {
            WritePixel(to + column * bytesPerPixel, bytesPerPixel, value);
        }
    }
}

void StretchPixels(ConstPixelSpan source, int sourceWidth, int sourceHeight, PixelSpan dest,
                   int destWidth, int destHeight, int bytesPerPixel,
                   const StretchOptions& options) {
    const std::uint32_t key = options.key.value_or(0) & PixelValueMask(bytesPerPixel);
    for (int row = 0; row < destHeight; ++row) {
        const int destRow = options.mirrorUpDown ? destHeight - 1 - row : row;
        const int sourceRow =
            static_cast<int>(static_cast<std::int64_t>(row) * sourceHeight / destHeight);
        const std::uint8_t* from =
            source.first + static_cast<std::ptrdiff_t>(sourceRow) * source.pitch;
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(destRow) * dest.pitch;
        for (int column = 0; column < destWidth; ++column) {
            const int destColumn = options.mirrorLeftRight ? destWidth - 1 - column : column;
            const int sourceColumn =
                static_cast<int>(static_cast<std::int64_t>(column) * sourceWidth / destWidth);
            const std::uint32_t pixel = ReadPixel(from + sourceColumn * bytesPerPixel, bytesPerPixel);
            if (options.key && pixel == key) continue;
            WritePixel(to + destColumn * bytesPerPixel, bytesPerPixel, pixel);
        }
    }
}

}  // namespace platform
