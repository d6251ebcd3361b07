// SPDX-License-Identifier: MIT
#include "game/actors/actor.h"

#include <cstdint>

namespace zelto {

void Actor::SetFrameList(int list, std::initializer_list<std::int32_t> frames) {
    if (list < 0 || list >= kListCount) return;
    FrameLists[list].assign(frames);
    FrameLists[list].push_back(kEndOfList);
}

void StepAnimation(Actor& actor) {
    actor.AnimTick += 1;
    if (actor.AnimTick <= actor.AnimDelay) return;
    actor.AnimTick = 0;
    if (actor.AnimIndex < 0 || actor.AnimIndex >= Actor::kListCount) return;
    const std::vector<std::int32_t>& list = actor.FrameLists[actor.AnimIndex];
    if (list.empty()) return;
    actor.AnimStep += 1;
    // A step past the stored entries counts as the end mark, so a list never reads beyond
    // itself whatever the step was left at.
    std::int32_t frame = Actor::kEndOfList;
    if (actor.AnimStep >= 0 && static_cast<std::size_t>(actor.AnimStep) < list.size()) {
        frame = list[static_cast<std::size_t>(actor.AnimStep)];
    }
    if (frame == Actor::kEndOfList) {
        frame = list.front();
        actor.AnimStep = 0;
    }
    actor.Frame = frame;
}

}  // namespace zelto
