#include "gamestates.h"

#include "zelto.h"

void RunGameStep() {
    if (!Status) return;
    switch (Status->State) {
        case Intro:
            if (TitleSprite) {
                TitleSprite->PosX = 8;
                TitleSprite->PosY = 0;
                TitleSprite->Draw(GameScreen->Back, 0, 0, CDXBlitMode::CopyKeyed);
            }
            break;
        default:
            break;
    }
}
