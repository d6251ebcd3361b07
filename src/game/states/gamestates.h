#pragma once

// The step that runs one frame of the current state (kept in the world's status record), and
// the moves between states: the start of a stage with its instruction screen, a completed
// stage, a lost life and the end of a game.

namespace zelto {

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

}  // namespace zelto
