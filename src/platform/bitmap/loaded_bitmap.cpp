// SPDX-License-Identifier: MIT
#include "platform/bitmap/loaded_bitmap.h"

#include <algorithm>
#include <new>
#include <optional>

#include "platform/bitmap/unpacked_bitmap.h"
#include "platform/display/display_palette.h"
#include "platform/display/display_surface.h"
#include "platform/display/display_surface_lock.h"
#include "platform/host/window.h"

namespace platform {
namespace {

// The rows decoded at a time: a few pages, touched again for every batch.
constexpr std::size_t kBatchBytes = 64 * 1024;

}  // namespace

std::unique_ptr<LoadedBitmap> LoadedBitmap::Load(const char* name) {
    if (name == nullptr) return nullptr;
    try {
        std::unique_ptr<LoadedBitmap> loaded(new LoadedBitmap);
        const std::uint8_t* bytes = nullptr;
        std::size_t size = 0;
        if (const Resource* resource = FindResource(name, ResourceKind::Bitmap)) {
            bytes = resource->bytes;
            size = resource->size;
        } else {
            std::optional<std::vector<std::uint8_t>> file = ReadBitmapFile(name);
            if (!file) return nullptr;
            loaded->file_ = std::move(*file);
            bytes = loaded->file_.data();
            size = loaded->file_.size();
        }
        const std::optional<BitmapHeader> header = ReadBitmapHeader(bytes, size);
        if (header && IsUnpackedBitmap(bytes, size, *header)) {
            loaded->image_ = bytes;
            loaded->header_ = *header;
            loaded->width_ = header->width;
            loaded->height_ = header->height;
            return loaded;
        }
        loaded->decoded_ = DecodeBitmap(bytes, size);
        loaded->file_.clear();
        loaded->file_.shrink_to_fit();
        if (!loaded->decoded_) return nullptr;
        loaded->width_ = loaded->decoded_->width;
        loaded->height_ = loaded->decoded_->height;
        return loaded;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

HRESULT LoadedBitmap::CopyToSurface(DisplaySurface& surface, const PALETTEENTRY* palette) const {
    if (decoded_) return StretchBitmapToSurface(surface, *decoded_, 0, 0, 0, 0, palette);
    if (surface.width() == width_ && surface.height() == height_) {
        return CopyRowsToSurface(surface, palette);
    }
    std::unique_ptr<Bitmap> whole;
    try {
        whole = std::make_unique<Bitmap>();
        whole->width = width_;
        whole->height = height_;
        whole->pixels.resize(static_cast<std::size_t>(width_) * height_ * 4);
    } catch (const std::bad_alloc&) {
        return DDERR_OUTOFMEMORY;
    }
    DecodeUnpackedBitmap(image_, header_, whole->pixels.data());
    return StretchBitmapToSurface(surface, *whole, 0, 0, 0, 0, palette);
}

HRESULT LoadedBitmap::CopyRowsToSurface(DisplaySurface& surface,
                                        const PALETTEENTRY* palette) const {
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * 4;
    const int batchRows = static_cast<int>(
        std::clamp<std::size_t>(kBatchBytes / rowBytes, 1, static_cast<std::size_t>(height_)));
    Bitmap batch;
    try {
        batch.pixels.resize(rowBytes * static_cast<std::size_t>(batchRows));
    } catch (const std::bad_alloc&) {
        return DDERR_OUTOFMEMORY;
    }
    batch.width = width_;
    const DisplaySurfaceLock lock(surface, DDLOCK_WAIT);
    if (!lock.locked()) return lock.result();
    const DDSURFACEDESC2& desc = lock.desc();
    const PALETTEENTRY* entries =
        surface.palette() != nullptr ? surface.palette()->Entries() : palette;
    for (int first = 0; first < height_; first += batchRows) {
        batch.height = std::min(batchRows, height_ - first);
        DecodeUnpackedRows(image_, header_, first, batch.height, batch.pixels.data());
        std::uint8_t* to = lock.pixels() + static_cast<std::ptrdiff_t>(first) * desc.lPitch;
        CopyBitmapPixels(batch, RECT{0, 0, width_, batch.height}, PixelSpan{to, desc.lPitch},
                         desc.ddpfPixelFormat, entries);
    }
    return DD_OK;
}

}  // namespace platform
