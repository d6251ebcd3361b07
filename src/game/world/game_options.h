// SPDX-License-Identifier: MIT
#pragma once

// What the player chose for this run, outside the game's own rules: set by the program's entry
// before the game starts, and read by start-up.

#include <functional>

namespace zelto {

struct GameOptions {
    // Play silently without opening a sound device (so a machine without one asks nothing); M
    // does nothing then.
    bool noSound = false;
    // All sound silenced: set before start-up, switched by M, and read back as the run ends so
    // that the next run starts the same.
    bool muted = false;
    // Called with the new choice each time M switches the sound, where the choice is kept at
    // once: a page may be closed at any moment, without the run's end. Empty on the desktop,
    // which keeps it as the run ends.
    std::function<void(bool)> keepMute;
    // Scales the mouse motion the game reads, through the input's own mouse factor; 1 steers as
    // the mouse moves.
    float mouseSensitivity = 1.0f;
};

}  // namespace zelto
