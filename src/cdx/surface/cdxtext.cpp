// SPDX-License-Identifier: MIT
// Text on surfaces: the surface's device context, its font, and strings drawn through them.

#include <cstring>

#include "cdx/surface/cdxsurface.h"
#include "platform/display/device_context.h"
#include "platform/text/text_service.h"

using namespace platform;

namespace cdx {

void CDXSurface::StartTextEarly() {
    StartTextServiceEarly();
}

HDC CDXSurface::GetDC() {
    if (!Surface) return nullptr;
    HDC context = nullptr;
    if (Surface->GetDC(&context) != DD_OK) return nullptr;
    DC = context;
    return DC;
}

void CDXSurface::ReleaseDC() {
    if (Surface && DC != nullptr) Surface->ReleaseDC(DC);
    DC = nullptr;
}

HFONT CDXSurface::MakeFont(const char* face, std::int32_t width, std::int32_t height,
                           std::int32_t weight) {
    if (Font != nullptr) {
        // A font still selected into the held context is taken out before it goes.
        if (DC != nullptr && DC->font == Font) SelectObject(DC, nullptr);
        DeleteObject(Font);
    }
    Font = CreateFont(height, width, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, VARIABLE_PITCH, face);
    return Font;
}

HFONT CDXSurface::SelectFont() {
    return SelectObject(DC, Font);
}

BOOL CDXSurface::DrawString(std::int32_t x, std::int32_t y, std::uint32_t colour,
                            const char* text) {
    if (DC == nullptr || text == nullptr) return 0;
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, colour);
    return TextOut(DC, x, y, text, static_cast<int>(std::strlen(text)));
}

std::int32_t CDXSurface::TextWidth(const char* text) {
    POINT size;
    if (DC == nullptr || text == nullptr ||
        GetTextExtentPoint32(DC, text, static_cast<int>(std::strlen(text)), &size) == 0) {
        return 0;
    }
    return size.x;
}

}  // namespace cdx
