// SPDX-License-Identifier: MIT
#pragma once

// The game's screen: its size, the depths it asks the display for, and the part of it the map
// fills. Start-up sets the mode from here, the settings' default window is the screen's size,
// and the picture's layout (the map on the left, the panel to its right) follows it.

namespace zelto {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
// The depth asked for, and the one taken when the display does not list it.
constexpr int kScreenDepth = 16;
constexpr int kFallbackScreenDepth = 15;

// The map's view: the screen's whole height from its left edge; the heads-up display's panel
// stands to its right.
constexpr int kMapViewWidth = 500;
constexpr int kMapViewHeight = kScreenHeight;

}  // namespace zelto
