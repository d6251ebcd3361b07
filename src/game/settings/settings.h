// SPDX-License-Identifier: MIT
#pragma once

// The player's settings kept between runs, and their text: one `key = value` per line, blank
// lines and lines starting with `#` ignored, keys this program does not know ignored (a newer
// game may add some), a key given twice taking its last value:
//
//   window = no             yes: a window; no: full screen
//   window-size = 640x480   the window's inner size when in a window
//   window-position = 10,20 the window's top-left corner on the desktop (its frame's, where
//                           the window manager draws one), in pixels from the first display's
//                           top-left corner (negative left of it or above it); written once
//                           the game has had a window; without it the window opens centred
//   sensitivity = 1         the mouse factor, 0.1 to 10
//   integer-scale = no      yes: the picture at whole multiples of its size only (yes by
//                           default in a page)
//   mute = no               yes: start with all sound silenced (M still unmutes)
//
// A line without `=`, or a value that is not one of those, makes the whole text damaged.

#include <optional>
#include <string>
#include <string_view>

#include "game/screen/screen_measures.h"

namespace zelto {

// Where a window's top-left corner was on the desktop.
struct WindowPosition {
    int x = 0;
    int y = 0;
    bool operator==(const WindowPosition&) const = default;
};

// The page shows the picture at whole multiples of its size unless the player chose otherwise:
// a browser's page is seldom a whole multiple, and the picture's pixels then stay equal squares.
#ifdef __EMSCRIPTEN__
inline constexpr bool kIntegerScaleByDefault = true;
#else
inline constexpr bool kIntegerScaleByDefault = false;
#endif

struct Settings {
    bool inWindow = false;
    int windowWidth = kScreenWidth;
    int windowHeight = kScreenHeight;
    // None: the window opens centred.
    std::optional<WindowPosition> windowPosition;
    float sensitivity = 1.0f;
    bool integerScale = kIntegerScaleByDefault;
    bool muted = false;

    static constexpr float kLeastSensitivity = 0.1f;
    static constexpr float kMostSensitivity = 10.0f;
    // A window side outside these is not a size this game leaves a window at.
    static constexpr int kSmallestWindowSide = 64;
    static constexpr int kLargestWindowSide = 16384;
    // The window system's coordinates are 16-bit: no display lies beyond this either way.
    static constexpr int kFarthestWindowPosition = 32767;

    // The settings the text holds, each missing key at its default; nothing, with `fault`
    // naming the first bad line, when the text is damaged. The line is shown safe for a
    // terminal: bytes other than printable ASCII as \xHH, a backslash as \\, and cut with
    // "..." after kLongestShownLine characters.
    static std::optional<Settings> Parse(std::string_view text, std::string& fault);
    static constexpr std::size_t kLongestShownLine = 80;
    // The text of these settings, with a heading that says what it is: every key, the window's
    // position where there is one.
    std::string Format() const;

    // A plain decimal number from kLeastSensitivity to kMostSensitivity; false otherwise.
    static bool ReadSensitivity(std::string_view text, float& sensitivity);

    bool operator==(const Settings&) const = default;
};

}  // namespace zelto
