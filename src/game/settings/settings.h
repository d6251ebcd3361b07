// SPDX-License-Identifier: MIT
#pragma once

// The player's settings kept between runs, and their text: one `key = value` per line, blank
// lines and lines starting with `#` ignored, keys this program does not know ignored (a newer
// game may add some), a key given twice taking its last value. Each setting is a row of the
// table in setting_rows.cpp, which says its key, its value and its options; a line without `=`,
// or a value its row does not take, makes the whole text damaged.

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

// What a run's command-line options choose in place of the kept settings, each reached by its
// setting's row; one left unset leaves the kept setting in force.
struct SettingChoices {
    std::optional<bool> startInWindow;  // a window instead of full screen
    std::optional<bool> integerScale;   // the picture at whole multiples of its size only
    std::optional<float> sensitivity;   // the mouse factor, within the settings' limits
};

// Each member's initializer is its default, which its row reads from here.
struct Settings {
    bool inWindow = false;
    int windowWidth = kScreenWidth;
    int windowHeight = kScreenHeight;
    // None: the window opens centred.
    std::optional<WindowPosition> windowPosition;
    float sensitivity = 1.0f;
    bool integerScale = kIntegerScaleByDefault;
    bool muted = false;

    // The sensitivity's range: its row's, and what a recording's options are held to.
    static constexpr float kLeastSensitivity = 0.1f;
    static constexpr float kMostSensitivity = 10.0f;

    // The settings the text holds, each missing key at its default; nothing, with `fault`
    // naming the first bad line, when the text is damaged. The line is shown safe for a
    // terminal: bytes other than printable ASCII as \xHH, a backslash as \\, and cut with
    // "..." after kLongestShownLine characters.
    static std::optional<Settings> Parse(std::string_view text, std::string& fault);
    static constexpr std::size_t kLongestShownLine = 80;
    // The text of these settings, with a heading that says what it is: every key, the window's
    // position where there is one.
    std::string Format() const;

    bool operator==(const Settings&) const = default;
};

}  // namespace zelto
