// SPDX-License-Identifier: MIT
#include "platform/bitmap/bitmap_service.h"

#include <SDL.h>

#include <cstring>
#include <new>
#include <optional>
#include <unordered_map>

#include "platform/bitmap/bitmap_header.h"
#include "platform/bitmap/unpacked_bitmap.h"
#include "platform/display/display_palette.h"
#include "platform/display/display_surface.h"
#include "platform/display/display_surface_lock.h"
#include "platform/display/nearest_palette.h"
#include "platform/display/pixel_format.h"
#include "platform/display/pixel_layout.h"
#include "platform/host/regular_file.h"
#include "platform/host/window.h"

namespace platform {
namespace {

struct SdlSurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SdlSurfacePtr = std::unique_ptr<SDL_Surface, SdlSurfaceFree>;

// The largest file a bitmap of kLargestSurfaceSide x kLargestSurfaceSide pixels at 32 bits can
// take, with room for any header and colour table.
constexpr std::uint64_t kLargestBitmapFile =
    std::uint64_t{kLargestSurfaceSide} * kLargestSurfaceSide * 4 + 64 * 1024;

// Takes the bitmap SDL decoded from stream (which this closes) in the Bitmap's byte order.
std::unique_ptr<Bitmap> BitmapFromStream(SDL_RWops* stream) {
    if (stream == nullptr) return nullptr;
    SdlSurfacePtr decoded(SDL_LoadBMP_RW(stream, 1));
    if (!decoded) return nullptr;
    // ARGB8888 read as little-endian bytes is blue, green, red, alpha.
    SdlSurfacePtr converted(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    if (!converted) return nullptr;
    decoded.reset();
    if (SDL_LockSurface(converted.get()) != 0) return nullptr;
    std::unique_ptr<Bitmap> bitmap;
    try {
        bitmap = std::make_unique<Bitmap>();
        bitmap->width = converted->w;
        bitmap->height = converted->h;
        const std::size_t rowBytes = static_cast<std::size_t>(converted->w) * 4;
        bitmap->pixels.resize(rowBytes * static_cast<std::size_t>(converted->h));
        const auto* rows = static_cast<const std::uint8_t*>(converted->pixels);
        for (int y = 0; y < converted->h; ++y) {
            std::memcpy(bitmap->pixels.data() + rowBytes * y,
                        rows + static_cast<std::ptrdiff_t>(y) * converted->pitch, rowBytes);
        }
    } catch (const std::bad_alloc&) {
        bitmap.reset();
    }
    SDL_UnlockSurface(converted.get());
    return bitmap;
}

// A colour byte's top bits in a channel's place; a channel keeps eight bits at most.
constexpr std::uint32_t ChannelBits(std::uint8_t value, ChannelPlace place) {
    if (place.bits == 0) return 0;
    const int bits = place.bits < 8 ? place.bits : 8;
    return static_cast<std::uint32_t>(value >> (8 - bits)) << place.shift;
}

// Turns blue, green, red bytes into one pixel value of an 8-bit or masked RGB format.
class PixelEncoder {
public:
    PixelEncoder(const DDPIXELFORMAT& format, const PALETTEENTRY* palette)
        : palette_(palette),
          indexed_(format.dwRGBBitCount <= 8),
          red_(PlaceOfMask(format.dwRBitMask)),
          green_(PlaceOfMask(format.dwGBitMask)),
          blue_(PlaceOfMask(format.dwBBitMask)) {}

    std::uint32_t Encode(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
        if (!indexed_)
            return ChannelBits(red, red_) | ChannelBits(green, green_) | ChannelBits(blue, blue_);
        if (palette_ == nullptr) {
            return static_cast<std::uint32_t>((red & 0xE0) | ((green >> 3) & 0x1C) | (blue >> 6));
        }
        // The nearest-entry search looks at all 256 entries; pictures repeat their colours.
        const std::uint32_t colour = (static_cast<std::uint32_t>(red) << 16) | (green << 8) | blue;
        const auto known = nearest_.find(colour);
        if (known != nearest_.end()) return known->second;
        const std::uint8_t index = NearestPaletteIndex(palette_, red, green, blue);
        try {
            nearest_.emplace(colour, index);
        } catch (const std::bad_alloc&) {
            // The cache only saves time; without room for it every colour is searched.
        }
        return index;
    }

private:
    const PALETTEENTRY* palette_;
    bool indexed_;
    ChannelPlace red_;
    ChannelPlace green_;
    ChannelPlace blue_;
    std::unordered_map<std::uint32_t, std::uint8_t> nearest_;
};

// Blue, green, red bytes as one pixel of a 16-bit layout, each channel keeping its top bits as
// PixelEncoder's channels do.
template <PixelLayout Layout>
struct Encode16 {
    static constexpr ChannelMasks kMasks = MasksOfLayout(Layout);
    std::uint16_t operator()(const std::uint8_t* bgr) const {
        return static_cast<std::uint16_t>(ChannelBits(bgr[2], PlaceOfMask(kMasks.red)) |
                                          ChannelBits(bgr[1], PlaceOfMask(kMasks.green)) |
                                          ChannelBits(bgr[0], PlaceOfMask(kMasks.blue)));
    }
};

bool HasMasks(const DDPIXELFORMAT& format, PixelLayout layout) {
    const ChannelMasks masks = MasksOfLayout(layout);
    return format.dwRGBBitCount == 16 && format.dwRBitMask == masks.red &&
           format.dwGBitMask == masks.green && format.dwBBitMask == masks.blue;
}

// Rows of 32-bit pixels into 16-bit ones, the encoder known at compile time so the loop is
// unrolled and vectorised.
template <typename Encode>
void EncodeRows16(const Bitmap& bitmap, const RECT& part, PixelSpan dest, Encode encode) {
    const int width = part.right - part.left;
    for (int row = 0; row < part.bottom - part.top; ++row) {
        const std::uint8_t* from = bitmap.PixelAt(part.left, part.top + row);
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch;
        // Rows may start at any byte: pixels are stored through memcpy.
        for (int column = 0; column < width; ++column) {
            const std::uint16_t pixel = encode(from + column * 4);
            std::memcpy(to + column * 2, &pixel, sizeof pixel);
        }
    }
}

}  // namespace

std::unique_ptr<Bitmap> DecodeBitmap(const std::uint8_t* bytes, std::size_t size) {
    if (size > static_cast<std::size_t>(INT32_MAX)) return nullptr;
    const std::optional<BitmapHeader> header = ReadBitmapHeader(bytes, size);
    if (!header) return nullptr;
    if (!IsUnpackedBitmap(bytes, size, *header)) return DecodeBitmapWithSdl(bytes, size);
    // The common kinds straight into the Bitmap: SDL's way decodes, converts and copies.
    try {
        auto bitmap = std::make_unique<Bitmap>();
        bitmap->width = header->width;
        bitmap->height = header->height;
        bitmap->pixels.resize(static_cast<std::size_t>(header->width) * header->height * 4);
        DecodeUnpackedBitmap(bytes, *header, bitmap->pixels.data());
        return bitmap;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::unique_ptr<Bitmap> DecodeBitmapWithSdl(const std::uint8_t* bytes, std::size_t size) {
    // SDL's loader takes any size its header claims and allocates it unchecked, so the header
    // is judged first.
    if (size > static_cast<std::size_t>(INT32_MAX) || !ReadBitmapHeader(bytes, size)) {
        return nullptr;
    }
    return BitmapFromStream(SDL_RWFromConstMem(bytes, static_cast<int>(size)));
}

std::optional<std::vector<std::uint8_t>> ReadBitmapFile(const char* name) {
    std::vector<std::uint8_t> bytes;
    if (ReadRegularFile(name, kLargestBitmapFile, bytes) != FileReadResult::Read || bytes.empty()) {
        return std::nullopt;
    }
    return bytes;
}

std::unique_ptr<Bitmap> LoadBitmapByName(const char* name) {
    if (name == nullptr) return nullptr;
    if (const Resource* resource = FindResource(name, ResourceKind::Bitmap)) {
        return DecodeBitmap(resource->bytes, resource->size);
    }
    const auto file = ReadBitmapFile(name);
    if (!file) return nullptr;
    return DecodeBitmap(file->data(), file->size());
}

void StretchBitmapPixels(const Bitmap& bitmap, const RECT& part, PixelSpan dest, int width,
                         int height, const DDPIXELFORMAT& format, const PALETTEENTRY* palette) {
    if (part.right - part.left == width && part.bottom - part.top == height) {
        CopyBitmapPixels(bitmap, part, dest, format, palette);
    } else {
        StretchBitmapPixelsPerPixel(bitmap, part, dest, width, height, format, palette);
    }
}

void StretchBitmapPixelsPerPixel(const Bitmap& bitmap, const RECT& part, PixelSpan dest, int width,
                                 int height, const DDPIXELFORMAT& format,
                                 const PALETTEENTRY* palette) {
    const int bytesPerPixel = BytesPerPixel(format.dwRGBBitCount);
    const int partWidth = part.right - part.left;
    const int partHeight = part.bottom - part.top;
    PixelEncoder encoder(format, palette);
    for (int row = 0; row < height; ++row) {
        const int sourceRow =
            part.top + static_cast<int>(static_cast<std::int64_t>(row) * partHeight / height);
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch;
        for (int column = 0; column < width; ++column) {
            const int sourceColumn =
                part.left + static_cast<int>(static_cast<std::int64_t>(column) * partWidth / width);
            const std::uint8_t* from = bitmap.PixelAt(sourceColumn, sourceRow);
            WritePixel(to + column * bytesPerPixel, bytesPerPixel,
                       encoder.Encode(from[0], from[1], from[2]));
        }
    }
}

void CopyBitmapPixels(const Bitmap& bitmap, const RECT& part, PixelSpan dest,
                      const DDPIXELFORMAT& format, const PALETTEENTRY* palette) {
    if (HasMasks(format, PixelLayout::Rgb565)) {
        EncodeRows16(bitmap, part, dest, Encode16<PixelLayout::Rgb565>{});
        return;
    }
    if (HasMasks(format, PixelLayout::Rgb555)) {
        EncodeRows16(bitmap, part, dest, Encode16<PixelLayout::Rgb555>{});
        return;
    }
    const int width = part.right - part.left;
    const int bytesPerPixel = BytesPerPixel(format.dwRGBBitCount);
    PixelEncoder encoder(format, palette);
    for (int row = 0; row < part.bottom - part.top; ++row) {
        const std::uint8_t* from = bitmap.PixelAt(part.left, part.top + row);
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch;
        for (int column = 0; column < width; ++column, from += 4, to += bytesPerPixel) {
            WritePixel(to, bytesPerPixel, encoder.Encode(from[0], from[1], from[2]));
        }
    }
}

HRESULT StretchBitmapToSurface(DisplaySurface& surface, const Bitmap& bitmap, int x, int y,
                               int partWidth, int partHeight, const PALETTEENTRY* palette) {
    if (partWidth == 0) partWidth = bitmap.width - x;
    if (partHeight == 0) partHeight = bitmap.height - y;
    if (x < 0 || y < 0 || partWidth <= 0 || partHeight <= 0 || x > bitmap.width - partWidth ||
        y > bitmap.height - partHeight) {
        return DDERR_INVALIDRECT;
    }
    const DisplaySurfaceLock lock(surface, DDLOCK_WAIT);
    if (!lock.locked()) return lock.result();
    const DDSURFACEDESC2& desc = lock.desc();
    const PALETTEENTRY* entries =
        surface.palette() != nullptr ? surface.palette()->Entries() : palette;
    StretchBitmapPixels(bitmap, RECT{x, y, x + partWidth, y + partHeight},
                        PixelSpan{lock.pixels(), desc.lPitch}, static_cast<int>(desc.dwWidth),
                        static_cast<int>(desc.dwHeight), desc.ddpfPixelFormat, entries);
    return DD_OK;
}

}  // namespace platform
