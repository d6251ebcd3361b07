#pragma once

// What the player chose for this run, outside the game's own rules: set by the program's entry
// before the game starts, and read by start-up.

namespace zelto {

struct GameOptions {
    // Start with all sound silenced, without opening a sound device (so a machine without one
    // asks nothing); M does nothing then.
    bool startMuted = false;
    // Scales the mouse motion the game reads, through the input's own mouse factor; 1 steers as
    // the mouse moves.
    float mouseSensitivity = 1.0f;
};

}  // namespace zelto
