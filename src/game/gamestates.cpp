#include "gamestates.h"

#include "zelto.h"

namespace {

struct CreditLine {
    std::int32_t x;
    std::int32_t y;
    const char* text;
};

// The intro's credits, written over the title picture's glass plate.
constexpr CreditLine kCredits[] = {
    {320, 150, "A Zelto production"},
    {280, 180, "Game, engine and data set"},
    {300, 210, "made by our own studio"},
    {160, 250, "Steer with the mouse, gather Energon, avoid the rest"},
    {300, 280, "Escape quits at any time"},
};

// The credits go onto the front buffer, over the picture the last flip showed, in the device
// context's default font.
void DrawCredits() {
    CDXSurface* front = GameScreen->Front;
    if (front == nullptr || front->GetDC() == nullptr) return;
    for (const CreditLine& line : kCredits) front->DrawString(line.x, line.y, 0xFFFFFF, line.text);
    front->ReleaseDC();
}

}  // namespace

void RunGameStep() {
    if (!Status) return;
    switch (Status->State) {
        case Intro:
            if (TitleSprite) {
                TitleSprite->PosX = 8;
                TitleSprite->PosY = 0;
                TitleSprite->Draw(GameScreen->Back, 0, 0, CDXBlitMode::CopyKeyed);
            }
            DrawCredits();
            break;
        default:
            break;
    }
}
