// SPDX-License-Identifier: MIT
#pragma once

// Reading a tone back out of mixed 16-bit stereo: where it starts and ends, and its pitch.

#include <cstdint>
#include <vector>

struct HeardTone {
    bool found = false;
    double startSeconds = 0;
    double seconds = 0;  // from the first to the last sample louder than the threshold
    double hz = 0;       // upward zero crossings per second within that span
    int peak = 0;
};

// channel 0 is left, 1 right.
HeardTone ListenTo(const std::vector<std::int16_t>& stereo, int framesPerSecond, int channel,
                   int threshold = 300);
