// SPDX-License-Identifier: MIT
#pragma once

// The text service: fonts found by face name (font_files.h), glyphs from SDL2_ttf
// rendered without antialiasing, and text drawn through a surface's device context with a
// transparent background in the window system's colours (0x00BBGGRR).

#include <cstdint>

#include "platform/host/display_types.h"
#include "platform/host/win_types.h"

namespace platform {

inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;
inline constexpr DWORD ANSI_CHARSET = 0;
inline constexpr DWORD OUT_DEFAULT_PRECIS = 0;
inline constexpr DWORD CLIP_DEFAULT_PRECIS = 0;
inline constexpr DWORD NONANTIALIASED_QUALITY = 3;
inline constexpr DWORD VARIABLE_PITCH = 2;
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Starts setting the service up (the font engine, fontconfig, the face aliases) on a thread of
// its own and returns at once, so that the work overlaps the program's own start; the first
// call that needs fonts waits for it to finish. Called once, early, by a program that will
// write text; without it the first such call does the work itself.
void StartTextServiceEarly();

// A font whose cell height (ascent plus descent) is height pixels; width 0 lets the face
// choose (other widths are taken as 0). A face that cannot be found gives the default face,
// never nothing; null only when no font at all can be opened.
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outputPrecision,
                 DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const char* face);
BOOL DeleteObject(HFONT font);
// Selects font into the context (null: the context's default font); returns the previous one.
HFONT SelectObject(HDC context, HFONT font);
int SetBkMode(HDC context, int mode);
COLORREF SetTextColor(HDC context, COLORREF colour);
// Draws length characters of text with the top-left corner of its cell at (x, y).
BOOL TextOut(HDC context, int x, int y, const char* text, int length);
// The size length characters of text take in the context's font: the sum of their advances
// wide (what TextOut moves its pen by) and the font's cell high. 0, with size untouched, without
// a context or a font.
BOOL GetTextExtentPoint32(HDC context, const char* text, int length, POINT* size);

// The family a face name is matched to on this machine (for tests and diagnostics).
const char* MatchedFamily(HFONT font);
int FontCellHeight(HFONT font);
// Font handles made and not yet deleted, like the window system's count of its objects.
int LiveFontCount();

}  // namespace platform
