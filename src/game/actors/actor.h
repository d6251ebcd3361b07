// SPDX-License-Identifier: MIT
#pragma once

// Actor: everything that moves in the game (the player, the enemies and the Energon particles).
// A sprite with the game's own fields beside the sprite's: frame lists played in order, the
// animation counters, an on/off flag, a kind and a position in the world.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "cdx/sprite/cdxsprite.h"

namespace zelto {

class Actor : public cdx::CDXSprite {
public:
    // The mark that ends a frame list.
    static constexpr std::int32_t kEndOfList = -1;
    static constexpr int kListCount = 2;

    // Sets list number `list` (0 or 1) to frames, followed by the end mark.
    void SetFrameList(int list, std::initializer_list<std::int32_t> frames);

    // Frame numbers in playing order, each list ended by kEndOfList.
    std::vector<std::int32_t> FrameLists[kListCount];
    std::int32_t AnimIndex = 0;  // the list that plays
    std::int32_t AnimTick = 0;   // frames counted since the last step
    std::int32_t AnimStep = 0;   // position in the playing list
    std::int32_t AnimDelay = 0;  // a frame number shows for AnimDelay + 1 frames
    std::int32_t Active = 0;
    std::int32_t Kind = 0;
    std::int32_t WorldX = 0;
    std::int32_t WorldY = 0;
};

// Advances the actor's animation by one frame: every AnimDelay + 1 frames the next entry of
// the playing list becomes the frame, wrapping to the list's start at its end mark.
void StepAnimation(Actor& actor);

}  // namespace zelto
