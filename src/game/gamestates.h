#pragma once

// The game's state record and the step that runs one frame of the current state.

#include <cstdint>

enum GameState : std::int32_t {
    Intro = 0,
    Playing = 2,
    Dying = 4,
    GameOver = 5,
};

struct GameStatus {
    std::int32_t State = Intro;
    std::int32_t Stage = 0;
    std::int32_t Lives = 3;
    std::int32_t Score = 0;
};

// One frame of the current state, drawn into the back buffer between its clearing and the flip.
void RunGameStep();
