// SPDX-License-Identifier: MIT
#pragma once

// The step that runs one frame of the current state (kept in the world's status record), and
// the moves between states: the start of a stage with its instruction screen, a completed
// stage, a lost life and the end of a game.

#include "game/world/world.h"

namespace zelto {

// One frame of the current state, drawn into the back buffer between its clearing and the flip.
// False when the back buffer is not to be shown: play is paused (the frame wrote its label onto
// the front buffer and waited a blank), or the program was asked to end while the frame held
// the thread (a close request or the quit message waits in the queue).
bool RunGameStep(Game& game);
// Holds play (the window left the front while playing): "Paused" is written over the last
// picture of play at once, and stays until the player presses P or the Pause key, or clicks.
// Nothing happens while a stage is being started: play is not running yet.
void PausePlay(Game& game);
// Puts the play area in its start position, cross-fades into it and shows the instruction
// screen until Space is down; then puts a particle in play and makes the enemies afresh, none
// of them touching the player's start. False, with the rest left undone, when the program is
// asked to end during the instruction screen.
bool StartStage(Game& game);
// The Energon level went over the critical mass: a new stage with a higher critical mass.
// False as StartStage.
bool CompleteStage(Game& game);
// The player lost a life (the caller has already counted it): the explosion and the death
// sequence, and the end of the game when no life is left.
void KillPlayer(Game& game);
// The last life is gone: the Game Over state, and a fade to black.
void EndGame(Game& game);

}  // namespace zelto
