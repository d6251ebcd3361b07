// SPDX-License-Identifier: MIT
#include "platform/display/shown_picture.h"

#include <cstring>
#include <new>

namespace platform {
namespace {

std::size_t RowBytes(const PresentedPicture& picture) {
    const int pixelBytes = static_cast<int>((picture.format.dwRGBBitCount + 7) / 8);
    return static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(pixelBytes);
}

bool IsIndexed(const PresentedPicture& picture) {
    return picture.format.dwRGBBitCount <= 8;
}

}  // namespace

bool ShownPicture::SameShape(const PresentedPicture& picture) const {
    if (!kept_ || picture.width != width_ || picture.height != height_) return false;
    if (std::memcmp(&picture.format, &format_, sizeof format_) != 0) return false;
    if (!IsIndexed(picture)) return true;
    const bool hasPalette = picture.palette != nullptr;
    if (hasPalette != hasPalette_) return false;
    return !hasPalette ||
           std::memcmp(picture.palette, palette_.data(), sizeof(PALETTEENTRY) * 256) == 0;
}

bool ShownPicture::TakeIfChanged(const PresentedPicture& picture) {
    if (picture.pixels == nullptr || picture.width <= 0 || picture.height <= 0) {
        Forget();
        return true;
    }
    const std::size_t rowBytes = RowBytes(picture);
    const auto rows = static_cast<std::size_t>(picture.height);
    int firstChangedRow = 0;
    if (SameShape(picture)) {
        while (firstChangedRow < picture.height &&
               std::memcmp(
                   rows_.data() + rowBytes * static_cast<std::size_t>(firstChangedRow),
                   picture.pixels + static_cast<std::ptrdiff_t>(firstChangedRow) * picture.pitch,
                   rowBytes) == 0) {
            ++firstChangedRow;
        }
        if (firstChangedRow == picture.height) return false;
    } else {
        // A picture too big to keep is shown every time, as if nothing were kept.
        try {
            rows_.resize(rowBytes * rows);
        } catch (const std::bad_alloc&) {
            Forget();
            return true;
        }
        width_ = picture.width;
        height_ = picture.height;
        format_ = picture.format;
        hasPalette_ = IsIndexed(picture) && picture.palette != nullptr;
        if (hasPalette_) std::memcpy(palette_.data(), picture.palette, sizeof(PALETTEENTRY) * 256);
        kept_ = true;
    }
    for (int row = firstChangedRow; row < picture.height; ++row) {
        std::memcpy(rows_.data() + rowBytes * static_cast<std::size_t>(row),
                    picture.pixels + static_cast<std::ptrdiff_t>(row) * picture.pitch, rowBytes);
    }
    return true;
}

void ShownPicture::Forget() {
    kept_ = false;
}

}  // namespace platform
