// SPDX-License-Identifier: MIT
#include "map_landscape.h"

#include "map_blocks.h"
#include "palette.h"
#include "random.h"

namespace datagen {
namespace {

// Animation records. The game never advances them, so each shows its current frame; several
// records over the same frames but with different current frames make lights that are on and
// off, screens at different moments and fans at different angles.
enum Animation : int {
    kLightShiningOn,
    kLightShiningOff,
    kConsoleEarly,
    kConsoleLate,
    kCrystalGlowing,
    kFanTurned,
    kFanStraight,
    kAnimationCount
};

std::vector<TileMap::Animation> MakeAnimations() {
    std::vector<TileMap::Animation> animations(kAnimationCount);
    animations[kLightShiningOn] = {{kFloorLightOn, kFloorLightOff}, 0, 20};
    animations[kLightShiningOff] = {{kFloorLightOn, kFloorLightOff}, 1, 20};
    animations[kConsoleEarly] = {{kConsoleA, kConsoleB, kConsoleC}, 0, 8};
    animations[kConsoleLate] = {{kConsoleA, kConsoleB, kConsoleC}, 2, 8};
    animations[kCrystalGlowing] = {{kCrystalBright, kCrystalDim}, 0, 30};
    animations[kFanTurned] = {{kFanA, kFanB}, 0, 2};
    animations[kFanStraight] = {{kFanA, kFanB}, 1, 2};
    return animations;
}

class Layout {
public:
    Layout() : cells_(static_cast<std::size_t>(kMapWidthInBlocks) * kMapHeightInBlocks) {}

    void Put(int column, int row, Block block) { Cell(column, row) = {false, block}; }
    void Animate(int column, int row, Animation animation) {
        Cell(column, row) = {true, animation};
    }
    void FillRow(int row, int fromColumn, int toColumn, Block block) {
        for (int c = fromColumn; c <= toColumn; ++c) Put(c, row, block);
    }
    void FillColumn(int column, int fromRow, int toRow, Block block) {
        for (int r = fromRow; r <= toRow; ++r) Put(column, r, block);
    }
    std::vector<TileMap::Cell> Cells() const { return cells_; }

private:
    TileMap::Cell& Cell(int column, int row) {
        return cells_[static_cast<std::size_t>(row) * kMapWidthInBlocks + column];
    }
    std::vector<TileMap::Cell> cells_;
};

void LayDeck(Layout& layout) {
    Random random(0xDEC4);
    for (int r = 0; r < kMapHeightInBlocks; ++r) {
        for (int c = 0; c < kMapWidthInBlocks; ++c) {
            const int roll = random.Below(100);
            layout.Put(c, r,
                       roll < 68   ? kDeckPlain
                       : roll < 84 ? kDeckRivets
                       : roll < 93 ? kDeckWorn
                                   : kDeckGrate);
        }
    }
}

void LayWalkways(Layout& layout) {
    layout.FillRow(14, 1, kMapWidthInBlocks - 2, kWalkwayAcross);
    layout.FillColumn(21, 1, kMapHeightInBlocks - 2, kWalkwayDown);
    layout.Put(21, 14, kDeckGrate);
    for (int c = 4; c < kMapWidthInBlocks - 2; c += 6) {
        layout.Animate(c, 13, (c / 6) % 2 == 0 ? kLightShiningOn : kLightShiningOff);
        layout.Animate(c + 3, 15, kLightShiningOn);
    }
    for (int r = 3; r < kMapHeightInBlocks - 2; r += 5) {
        layout.Animate(22, r, (r / 5) % 3 == 2 ? kLightShiningOff : kLightShiningOn);
    }
}

// A patch of ground from (left, top) to (right, bottom), rim included.
void LayGroundPatch(Layout& layout, int left, int top, int right, int bottom, std::uint64_t seed) {
    Random random(seed);
    for (int r = top + 1; r < bottom; ++r) {
        for (int c = left + 1; c < right; ++c) {
            const int roll = random.Below(100);
            layout.Put(c, r,
                       roll < 40   ? kGroundA
                       : roll < 65 ? kGroundB
                       : roll < 75 ? kGroundC
                       : roll < 84 ? kCraterTiny
                       : roll < 92 ? kCraterSmall
                                   : kBoulder);
        }
    }
    layout.FillRow(top, left + 1, right - 1, kRimTop);
    layout.FillRow(bottom, left + 1, right - 1, kRimBottom);
    layout.FillColumn(left, top + 1, bottom - 1, kRimLeft);
    layout.FillColumn(right, top + 1, bottom - 1, kRimRight);
    layout.Put(left, top, kRimTopLeft);
    layout.Put(right, top, kRimTopRight);
    layout.Put(left, bottom, kRimBottomLeft);
    layout.Put(right, bottom, kRimBottomRight);
}

void PutBigCrater(Layout& layout, int column, int row) {
    layout.Put(column, row, kCraterBigTopLeft);
    layout.Put(column + 1, row, kCraterBigTopRight);
    layout.Put(column, row + 1, kCraterBigBottomLeft);
    layout.Put(column + 1, row + 1, kCraterBigBottomRight);
}

void LayGround(Layout& layout) {
    LayGroundPatch(layout, 2, 17, 17, 27, 0x6A01);
    PutBigCrater(layout, 5, 19);
    PutBigCrater(layout, 12, 22);
    for (auto [c, r] : {std::pair{9, 19}, {15, 19}, {4, 25}, {10, 25}}) {
        layout.Animate(c, r, kCrystalGlowing);
    }
    LayGroundPatch(layout, 27, 5, 36, 11, 0x6A02);
    PutBigCrater(layout, 31, 7);
    for (auto [c, r] : {std::pair{28, 6}, {29, 6}, {34, 9}, {35, 6}, {29, 10}}) {
        layout.Animate(c, r, kCrystalGlowing);
    }
}

void LayPipes(Layout& layout) {
    // From the left hull along row 3, down column 18, across row 12 and up column 26 into the
    // top hull.
    layout.FillRow(3, 1, 17, kPipeAcross);
    layout.Put(18, 3, kPipeLeftDown);
    layout.FillColumn(18, 4, 11, kPipeDown);
    layout.Put(18, 12, kPipeRightUp);
    layout.FillRow(12, 19, 25, kPipeAcross);
    layout.Put(26, 12, kPipeLeftUp);
    layout.FillColumn(26, 1, 11, kPipeDown);
    // From the top hull down column 9, across row 16 and down column 20 into the bottom hull.
    layout.FillColumn(9, 1, 15, kPipeDown);
    layout.Put(9, 3, kPipeCross);
    layout.Put(9, 16, kPipeRightUp);
    layout.FillRow(16, 10, 19, kPipeAcross);
    layout.Put(20, 16, kPipeLeftDown);
    layout.FillColumn(20, 17, kMapHeightInBlocks - 2, kPipeDown);
    // From the top hull down column 23, crossing the first pipe, then along row 24 into the
    // right hull.
    layout.FillColumn(23, 1, 23, kPipeDown);
    layout.Put(23, 12, kPipeCross);
    layout.Put(23, 24, kPipeRightUp);
    layout.FillRow(24, 24, kMapWidthInBlocks - 2, kPipeAcross);
    for (auto [c, r] : {std::pair{5, 3}, {14, 3}, {22, 12}, {14, 16}, {29, 24}, {35, 24}}) {
        layout.Put(c, r, kPipeValve);
    }
}

void LayFittings(Layout& layout) {
    // Reactor room in the lower right.
    layout.Put(29, 18, kReactorTopLeft);
    layout.Put(30, 18, kReactorTopRight);
    layout.Put(29, 19, kReactorBottomLeft);
    layout.Put(30, 19, kReactorBottomRight);
    layout.Animate(27, 18, kConsoleEarly);
    layout.Animate(32, 19, kConsoleLate);
    layout.Animate(29, 21, kConsoleEarly);
    layout.Animate(30, 21, kConsoleLate);
    // Control desks near the start.
    layout.Animate(12, 6, kConsoleEarly);
    layout.Animate(13, 6, kConsoleLate);
    layout.Animate(14, 6, kConsoleEarly);
    layout.Animate(3, 9, kConsoleLate);
    // Viewports along the hull.
    for (int c : {12, 13, 14, 30, 31, 32}) layout.Put(c, 1, kViewport);
    for (int r : {16, 17, 18}) layout.Put(38, r, kViewport);
    for (int r : {5, 6}) layout.Put(1, r, kViewport);
    // Cargo.
    for (auto [c, r] : {std::pair{34, 26},
                        {35, 26},
                        {36, 26},
                        {35, 27},
                        {36, 27},
                        {2, 11},
                        {3, 11},
                        {2, 12},
                        {37, 11},
                        {37, 12}}) {
        layout.Put(c, r, kCrate);
    }
    layout.Animate(5, 7, kFanTurned);
    layout.Animate(15, 9, kFanStraight);
    layout.Animate(34, 15, kFanTurned);
    layout.Animate(25, 21, kFanStraight);
    layout.Animate(37, 3, kFanTurned);
    layout.Animate(13, 10, kFanTurned);
}

void LayHull(Layout& layout) {
    const int right = kMapWidthInBlocks - 1;
    const int bottom = kMapHeightInBlocks - 1;
    layout.FillRow(0, 1, right - 1, kHullTop);
    layout.FillRow(bottom, 1, right - 1, kHullBottom);
    layout.FillColumn(0, 1, bottom - 1, kHullLeft);
    layout.FillColumn(right, 1, bottom - 1, kHullRight);
    layout.Put(0, 0, kHullTopLeft);
    layout.Put(right, 0, kHullTopRight);
    layout.Put(0, bottom, kHullBottomLeft);
    layout.Put(right, bottom, kHullBottomRight);
}

}  // namespace

TileMap BuildWorldMap() {
    TileMap map;
    map.widthInBlocks = kMapWidthInBlocks;
    map.heightInBlocks = kMapHeightInBlocks;
    map.blockWidth = kBlockSize;
    map.blockHeight = kBlockSize;
    map.graphics = PaintBlocks();
    for (int block = 0; block < kBlockCount; ++block) map.blockGraphics.push_back(block);
    map.animations = MakeAnimations();

    Layout layout;
    LayDeck(layout);
    LayWalkways(layout);
    LayGround(layout);
    LayPipes(layout);
    LayFittings(layout);
    LayHull(layout);
    map.cells = layout.Cells();
    map.palette = BuildPalette(map.graphics);
    return map;
}

RgbImage RenderMap(const TileMap& map) {
    RgbImage picture = FilledImage(map.widthInBlocks * map.blockWidth,
                                   map.heightInBlocks * map.blockHeight, Rgb8{});
    for (int r = 0; r < map.heightInBlocks; ++r) {
        for (int c = 0; c < map.widthInBlocks; ++c) {
            const TileMap::Cell& cell =
                map.cells[static_cast<std::size_t>(r) * map.widthInBlocks + c];
            int record = cell.index;
            if (cell.animated) {
                const TileMap::Animation& animation = map.animations[cell.index];
                record = animation.frames[animation.currentFrame];
            }
            Blit(picture, map.graphics[map.blockGraphics[record]], c * map.blockWidth,
                 r * map.blockHeight);
        }
    }
    return picture;
}

}  // namespace datagen
