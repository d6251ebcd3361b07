// SPDX-License-Identifier: MIT
#include "game/player/player.h"

#include <memory>

#include "data_files.h"
#include "game/world/game_sheets.h"

using namespace cdx;

namespace zelto {

namespace {

// The player hit an edge of the play area: a grunt and one rad.
void RubEdge(Game& game) {
    if (game.GruntSound) game.GruntSound->Play(0, 0, 0);
    game.EnergonLevel -= 1;
}

void HoldInsidePlayArea(Game& game, Actor& player) {
    if (player.PosX <= kPlayAreaLeft) {
        player.PosX = kPlayAreaLeft;
        RubEdge(game);
    }
    if (player.PosX >= kPlayAreaRight) {
        player.PosX = kPlayAreaRight;
        RubEdge(game);
    }
    if (player.PosY <= kPlayAreaTop) {
        player.PosY = kPlayAreaTop;
        RubEdge(game);
    }
    if (player.PosY >= kPlayAreaBottom) {
        player.PosY = kPlayAreaBottom;
        RubEdge(game);
    }
}

// The frame's mouse motion sets the course when it is diagonal; motion along one axis, or none,
// keeps the course the player had.
void SteerByMouse(Game& game, Actor& player) {
    if (!game.GameInput) return;
    const InputFrame& input = game.GameInput->Frame();
    if (input.MotionX != 0 && input.MotionY != 0) {
        player.VelX = input.MotionX;
        player.VelY = input.MotionY;
    }
}

}  // namespace

void CreatePlayer(Game& game) {
    game.PlayerSheet =
        LoadGameSheet(game.GameScreen.get(), kPlayerSheetFile, kActorSize, kActorSize, 10);
    game.Player = std::make_unique<Actor>();
    game.Player->Create(game.PlayerSheet.get());
    game.Player->PosX = kPlayerStartX;
    game.Player->PosY = kPlayerStartY;
    game.Player->AnimDelay = 2;
    game.Player->AnimIndex = kAliveList;
    game.Player->SetFrameList(kAliveList, {0, 1, 1});
    game.Player->SetFrameList(kDyingList, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 60});
}

void UpdatePlayer(Game& game) {
    if (!game.Player) return;
    Actor& player = *game.Player;
    player.PosX += player.VelX;
    player.PosY += player.VelY;
    HoldInsidePlayArea(game, player);
    SteerByMouse(game, player);
    ScrollView(game);
    StepAnimation(player);
    if (game.GameScreen && game.GameScreen->Back != nullptr) {
        player.Draw(game.GameScreen->Back, 0, 0, CDXBlitMode::CopyKeyed);
    }
}

void ScrollView(Game& game) {
    if (!game.Player || !game.GameMap) return;
    Actor& player = *game.Player;
    const std::int32_t scrollX = game.GameMap->ScrollX;
    const std::int32_t scrollY = game.GameMap->ScrollY;
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
    game.GameMap->SetScrollPosition(nextX, nextY);
    if (game.GameScreen && game.GameScreen->Back != nullptr &&
        game.GameMap->Draw(game.GameScreen->Back) != 0) {
        game.GameMap->Restore();
    }
}

std::int32_t ShowAndHit(Game& game, Actor& actor, std::int32_t scrollX, std::int32_t scrollY,
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
    if (game.GameScreen && game.GameScreen->Back != nullptr) {
        actor.Draw(game.GameScreen->Back, 0, 0, CDXBlitMode::CopyKeyed);
    }
    return actor.SpriteHit(game.Player.get()) != 0 ? ShownTouching : ShownApart;
}

}  // namespace zelto
