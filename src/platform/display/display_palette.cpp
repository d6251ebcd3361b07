// SPDX-License-Identifier: MIT
#include "platform/display/display_palette.h"

#include <algorithm>

namespace platform {

DisplayPalette::DisplayPalette(const PALETTEENTRY* entries) {
    if (entries != nullptr) std::copy(entries, entries + entries_.size(), entries_.begin());
}

HRESULT DisplayPalette::SetEntries(DWORD, DWORD first, DWORD count, const PALETTEENTRY* entries) {
    if (entries == nullptr || first > entries_.size() || count > entries_.size() - first) {
        return DDERR_INVALIDPARAMS;
    }
    std::copy(entries, entries + count, entries_.begin() + first);
    return DD_OK;
}

HRESULT DisplayPalette::GetEntries(DWORD, DWORD first, DWORD count, PALETTEENTRY* entries) const {
    if (entries == nullptr || first > entries_.size() || count > entries_.size() - first) {
        return DDERR_INVALIDPARAMS;
    }
    std::copy(entries_.begin() + first, entries_.begin() + first + count, entries);
    return DD_OK;
}

}  // namespace platform
