// SPDX-License-Identifier: MIT
#include "game/hud/hud.h"

#include <cstdint>
#include <cstdio>

#include "game/world/world.h"

using namespace cdx;

namespace zelto {

namespace {

constexpr std::int32_t kTextX = 530;
// Window-system colours, 0x00BBGGRR: a dark grey, and the level's value a touch redder.
constexpr std::uint32_t kLabelColour = 0x191919;
constexpr std::uint32_t kLevelColour = 0x19191E;

void DrawValue(CDXSurface& back, std::int32_t y, std::uint32_t colour, const char* format,
               std::int32_t value) {
    char text[256];
    std::snprintf(text, sizeof(text), format, static_cast<int>(value));
    back.DrawString(kTextX, y, colour, text);
}

}  // namespace

void DrawHud(Game& game) {
    if (!game.GameScreen || game.GameScreen->Back == nullptr || !game.Status) return;
    CDXSurface& back = *game.GameScreen->Back;
    back.MakeFont("Script", 0, 20, 700);
    if (back.GetDC() == nullptr) return;
    back.SelectFont();
    back.DrawString(kTextX, 50, kLabelColour, "Energon Level");
    DrawValue(back, 80, kLevelColour, "%i rads ", game.EnergonLevel);
    back.DrawString(kTextX, 120, kLabelColour, "Critical Mass");
    DrawValue(back, 150, kLabelColour, "%i  ", game.CriticalMass);
    back.DrawString(kTextX, 190, kLabelColour, "Lives");
    DrawValue(back, 220, kLabelColour, "%i  ", game.Status->Lives);
    back.DrawString(kTextX, 260, kLabelColour, "Score");
    DrawValue(back, 290, kLabelColour, "%i  ", game.Status->Score);
    back.ReleaseDC();
}

}  // namespace zelto
