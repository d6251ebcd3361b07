// SPDX-License-Identifier: MIT
#pragma once

// The game's state record: the state that runs each frame, the stage, the lives, the score,
// the best scores shown on the Game Over screen, and how long the sound's state stays shown.

#include <cstdint>
#include <vector>

#include "game/scores/score_table.h"

namespace zelto {

enum GameState : std::int32_t {
    Intro = 0,
    Playing = 2,
    Dying = 4,
    GameOver = 5,
};

struct GameStatus {
    std::int32_t State = Intro;
    std::int32_t Stage = 0;  // set to 1 by a new game, one more per completed stage
    std::int32_t Lives = 3;
    std::int32_t Score = 0;
    // The best final score known: the kept table's and this run's games'.
    std::int32_t Best = 0;
    // The best of the kept table as the last game's end left it (at most five), and which of
    // them is that game's own entry (-1: none of them).
    std::vector<ScoreEntry> BestScores;
    std::int32_t OwnEntry = -1;
    // Frames the sound's state ("Sound off", "Sound on") stays shown after M.
    std::int32_t SoundLabelFrames = 0;
};

// Lives at the start of a game.
constexpr std::int32_t kStartingLives = 3;

}  // namespace zelto
