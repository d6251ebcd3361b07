#pragma once

// The game's state record, the step that runs one frame of the current state, and the moves
// between states: the start of a stage with its instruction screen, a completed stage, a lost
// life and the end of a game.

#include <cstdint>

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
};

// Lives at the start of a game.
constexpr std::int32_t kStartingLives = 3;

// One frame of the current state, drawn into the back buffer between its clearing and the flip.
void RunGameStep();
// Puts the play area in its start position, cross-fades into it and shows the instruction
// screen until Space is down; then puts a particle in play and makes the enemies afresh.
void StartStage();
// The Energon level went over the critical mass: a new stage with a higher critical mass.
void CompleteStage();
// The player lost a life (the caller has already counted it): the explosion and the death
// sequence, and the end of the game when no life is left.
void KillPlayer();
// The last life is gone: the Game Over state, and a fade to black.
void EndGame();
