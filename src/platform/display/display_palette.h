// SPDX-License-Identifier: MIT
#pragma once

#include <array>

#include "platform/host/display_types.h"

namespace platform {

// A 256-entry palette for 8-bit display surfaces.
class DisplayPalette {
public:
    explicit DisplayPalette(const PALETTEENTRY* entries);

    HRESULT SetEntries(DWORD flags, DWORD first, DWORD count, const PALETTEENTRY* entries);
    HRESULT GetEntries(DWORD flags, DWORD first, DWORD count, PALETTEENTRY* entries) const;
    const PALETTEENTRY* Entries() const { return entries_.data(); }

private:
    std::array<PALETTEENTRY, 256> entries_{};
};

}  // namespace platform
