// SPDX-License-Identifier: MIT
#pragma once

// The picture a window shows now, kept so that a host can leave out presenting a picture that
// is the same again: a title that stays up for minutes is then converted and sent to the
// window system once, not sixty times a second.

#include <array>
#include <cstdint>
#include <vector>

#include "platform/host/host.h"

namespace platform {

class ShownPicture {
public:
    // True when the picture differs from the one kept (in size, format, palette or any pixel),
    // or nothing is kept; the picture is then kept in place of the old one. One pass over the
    // rows: equal rows are only compared, the rest are copied.
    bool TakeIfChanged(const PresentedPicture& picture);
    // The window lost what it showed (uncovered, resized, a new mode): the next picture is
    // taken whatever it is.
    void Forget();

private:
    bool SameShape(const PresentedPicture& picture) const;

    bool kept_ = false;
    int width_ = 0;
    int height_ = 0;
    DDPIXELFORMAT format_{};
    bool hasPalette_ = false;
    std::array<PALETTEENTRY, 256> palette_{};
    std::vector<std::uint8_t> rows_;  // height_ rows of the picture's row bytes, no padding
};

}  // namespace platform
