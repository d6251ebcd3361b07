// SPDX-License-Identifier: MIT
#pragma once

#include "wav_writer.h"

namespace datagen {

Sound MakePickSound();     // a bright two-note chime when a particle is collected
Sound MakeSpawnSound();    // a rising shimmer as a particle appears
Sound MakeGongSound();     // a deep gong at the start of every stage
Sound MakeGruntSound();    // a short grunt when the player rubs an edge
Sound MakeExplodeSound();  // the player's explosion
Sound MakeMonsterSound();  // a monster's growl

}  // namespace datagen
