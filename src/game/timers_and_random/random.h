// SPDX-License-Identifier: MIT
#pragma once

// The game's random numbers: the common linear congruential generator
// (state = state x 214013 + 2531011, result = (state >> 16) & 0x7FFF), seeded once at start-up.
// The host's own C library generator is a different one, so the game carries its own.

#include <cstdint>

namespace zelto {

class RandomNumbers {
public:
    void Seed(std::uint32_t seed) { state_ = seed; }
    // A value in 0 .. 32767.
    int Next();

private:
    std::uint32_t state_ = 1;
};

}  // namespace zelto
