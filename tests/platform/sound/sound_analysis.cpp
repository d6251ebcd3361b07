// SPDX-License-Identifier: MIT
#include "sound_analysis.h"

#include <cstdlib>

HeardTone ListenTo(const std::vector<std::int16_t>& stereo, int framesPerSecond, int channel,
                   int threshold) {
    HeardTone tone;
    const std::size_t frames = stereo.size() / 2;
    auto sample = [&](std::size_t frame) {
        return stereo[2 * frame + static_cast<std::size_t>(channel)];
    };
    std::size_t first = frames;
    std::size_t last = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        const int magnitude = std::abs(sample(i));
        if (magnitude > tone.peak) tone.peak = magnitude;
        if (magnitude <= threshold) continue;
        if (first == frames) first = i;
        last = i;
    }
    if (first == frames) return tone;
    tone.found = true;
    tone.startSeconds = static_cast<double>(first) / framesPerSecond;
    tone.seconds = static_cast<double>(last + 1 - first) / framesPerSecond;
    int crossings = 0;
    for (std::size_t i = first + 1; i <= last; ++i) {
        if (sample(i - 1) < 0 && sample(i) >= 0) ++crossings;
    }
    tone.hz = crossings / tone.seconds;
    return tone;
}
