// SPDX-License-Identifier: MIT
#include "player.h"

#include <memory>

#include "data_files.h"
#include "game_sheets.h"
#include "world.h"

using namespace cdx;

namespace zelto {

namespace {

// The play area: the player is held inside it and rubbing its edge costs Energon.
constexpr std::int32_t kEdgeLeft = 10;
constexpr std::int32_t kEdgeRight = 465;
constexpr std::int32_t kEdgeTop = 10;
constexpr std::int32_t kEdgeBottom = 444;
// Near these screen positions the map scrolls instead of the player moving on.
constexpr std::int32_t kHoldLeft = 50;
constexpr std::int32_t kHoldRight = 450;
constexpr std::int32_t kHoldTop = 50;
constexpr std::int32_t kHoldBottom = 410;
// The scroll positions up to which the player is held near the far edges.
constexpr std::int32_t kScrollHoldRight = 779;
constexpr std::int32_t kScrollHoldBottom = 439;

// The player hit an edge of the play area: a grunt and one rad.
void RubEdge() {
    if (GruntSound) GruntSound->Play(0, 0, 0);
    EnergonLevel -= 1;
}

void HoldInsidePlayArea(Actor& player) {
    if (player.PosX <= kEdgeLeft) {
        player.PosX = kEdgeLeft;
        RubEdge();
    }
    if (player.PosX >= kEdgeRight) {
        player.PosX = kEdgeRight;
        RubEdge();
    }
    if (player.PosY <= kEdgeTop) {
        player.PosY = kEdgeTop;
        RubEdge();
    }
    if (player.PosY >= kEdgeBottom) {
        player.PosY = kEdgeBottom;
        RubEdge();
    }
}

// The mouse's motion since the last frame sets the course when it is diagonal; motion along
// one axis, or none, keeps the course the player had.
void SteerByMouse(Actor& player) {
    if (!GameInput) return;
    std::int32_t mouseX = 0;
    std::int32_t mouseY = 0;
    GameInput->GetMousePos(&mouseX, &mouseY);
    const std::int32_t dx = mouseX - LastMouseX;
    const std::int32_t dy = mouseY - LastMouseY;
    LastMouseX = mouseX;
    LastMouseY = mouseY;
    if (dx != 0 && dy != 0) {
        player.VelX = dx;
        player.VelY = dy;
    }
}

}  // namespace

void CreatePlayer() {
    PlayerSheet = LoadGameSheet(kPlayerSheetFile, 32, 32, 10);
    Player = std::make_unique<Actor>();
    Player->Create(PlayerSheet.get());
    Player->PosX = kPlayerStartX;
    Player->PosY = kPlayerStartY;
    Player->AnimDelay = 2;
    Player->AnimIndex = kAliveList;
    Player->SetFrameList(kAliveList, {0, 1, 1});
    Player->SetFrameList(kDyingList, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 60});
}

void UpdatePlayer() {
    if (!Player) return;
    Actor& player = *Player;
    player.PosX += player.VelX;
    player.PosY += player.VelY;
    HoldInsidePlayArea(player);
    SteerByMouse(player);
    ScrollView();
    StepAnimation(player);
    if (GameScreen && GameScreen->Back != nullptr) {
        player.Draw(GameScreen->Back, 0, 0, CDXBlitMode::CopyKeyed);
    }
}

void ScrollView() {
    if (!Player || !GameMap) return;
    Actor& player = *Player;
    const std::int32_t scrollX = GameMap->ScrollX;
    const std::int32_t scrollY = GameMap->ScrollY;
    std::int32_t nextX = scrollX;
    std::int32_t nextY = scrollY;
    if (player.PosX <= kHoldLeft) {
        nextX = scrollX + player.VelX;
        if (scrollX > kHoldLeft) player.PosX = kHoldLeft;
    }
    if (player.PosX >= kHoldRight) {
        nextX += player.VelX;
        if (scrollX < kScrollHoldRight) player.PosX = kHoldRight;
    }
    if (player.PosY <= kHoldTop) {
        nextY = scrollY + player.VelY;
        if (scrollY > kHoldTop) player.PosY = kHoldTop;
    }
    if (player.PosY >= kHoldBottom) {
        nextY += player.VelY;
        if (scrollY < kScrollHoldBottom) player.PosY = kHoldBottom;
    }
    GameMap->SetScrollPosition(nextX, nextY);
    if (GameScreen && GameScreen->Back != nullptr && GameMap->Draw(GameScreen->Back) != 0) {
        GameMap->Restore();
    }
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

}  // namespace zelto
