// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

namespace datagen {

// A mono sound as samples in [-1, 1] at a given rate.
struct Sound {
    int sampleRate = 22050;
    std::vector<double> samples;
};

// A PCM WAV file with the canonical 44-byte header (RIFF, "fmt " of 16 bytes, "data") and
// 16-bit mono samples. Samples beyond [-1, 1] are refused rather than clipped.
std::vector<std::uint8_t> EncodeWav(const Sound& sound);

}  // namespace datagen
