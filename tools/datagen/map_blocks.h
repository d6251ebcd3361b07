// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "rgb_image.h"

namespace datagen {

constexpr int kBlockSize = 32;

// Every block graphic of the map. Block record k shows graphic k, so these are also the
// record indices that cells and animations name.
enum Block : int {
    // Station deck.
    kDeckPlain,
    kDeckRivets,
    kDeckWorn,
    kDeckGrate,
    kWalkwayAcross,  // runs left to right
    kWalkwayDown,    // runs top to bottom
    // The hull around the world; the hazard band faces inwards.
    kHullTop,
    kHullBottom,
    kHullLeft,
    kHullRight,
    kHullTopLeft,
    kHullTopRight,
    kHullBottomLeft,
    kHullBottomRight,
    // Exposed alien ground where the deck has broken away.
    kGroundA,
    kGroundB,
    kGroundC,
    kCraterSmall,
    kCraterTiny,
    kCraterBigTopLeft,
    kCraterBigTopRight,
    kCraterBigBottomLeft,
    kCraterBigBottomRight,
    kBoulder,
    kCrystalBright,
    kCrystalDim,
    // The broken deck's rim around a patch of ground, named by the side the deck is on.
    kRimTop,
    kRimBottom,
    kRimLeft,
    kRimRight,
    kRimTopLeft,
    kRimTopRight,
    kRimBottomLeft,
    kRimBottomRight,
    // Pipes on the deck, elbows named by the two sides they join.
    kPipeAcross,
    kPipeDown,
    kPipeRightDown,
    kPipeLeftDown,
    kPipeRightUp,
    kPipeLeftUp,
    kPipeCross,
    kPipeValve,
    // Fittings.
    kFloorLightOn,
    kFloorLightOff,
    kConsoleA,
    kConsoleB,
    kConsoleC,
    kReactorTopLeft,
    kReactorTopRight,
    kReactorBottomLeft,
    kReactorBottomRight,
    kViewport,
    kCrate,
    kFanA,
    kFanB,
    kBlockCount
};

// All block graphics, indexed by Block, each 32 x 32 and opaque.
std::vector<RgbImage> PaintBlocks();

}  // namespace datagen
