#include "actor.h"

#include <cstdint>

#include "zelto.h"

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

std::int32_t ShowAndHit(Actor& actor, std::int32_t scrollX, std::int32_t scrollY,
                        std::int32_t width, std::int32_t height) {
    // 64-bit sums: the game's values are small, but the test must not wrap for any.
    const std::int64_t worldX = actor.WorldX;
    const std::int64_t worldY = actor.WorldY;
    if (worldX < scrollX || worldX > std::int64_t{scrollX} + width || worldY < scrollY ||
        worldY > std::int64_t{scrollY} + height) {
        return OutOfView;
    }
    actor.PosX = actor.WorldX - scrollX;
    actor.PosY = actor.WorldY - scrollY;
    if (GameScreen && GameScreen->Back != nullptr) {
        actor.Draw(GameScreen->Back, 0, 0, CDXBlitMode::CopyKeyed);
    }
    return actor.SpriteHit(Player.get()) != 0 ? ShownTouching : ShownApart;
}
