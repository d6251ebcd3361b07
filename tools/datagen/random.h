// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace datagen {

// A small fixed-algorithm generator (SplitMix64). Every picture, map and sound seeds its own
// instance with a constant, so the output never depends on the standard library's engines.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        state_ += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform in [lo, hi).
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
    // Uniform integer in [0, count); count must be positive.
    int Below(int count) { return static_cast<int>(Next() % static_cast<std::uint64_t>(count)); }

private:
    std::uint64_t state_;
};

// A stateless hash of grid coordinates to [0, 1), used for textures and value noise.
inline double HashUnit(int x, int y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x27D4EB2Du;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h ^ (h >> 15)) * 0x2C1B3C6Du;
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h = (h ^ (h >> 13)) * 0x297A2D39u;
    h ^= h >> 16;
    return static_cast<double>(h) / 4294967296.0;
}

// Smooth value noise in [0, 1) with a feature size of one unit.
double ValueNoise(double x, double y, std::uint32_t seed);
// Several octaves of value noise, in [0, 1).
double FractalNoise(double x, double y, int octaves, std::uint32_t seed);

}  // namespace datagen
