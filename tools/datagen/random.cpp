// SPDX-License-Identifier: MIT
#include "random.h"

#include "stable_math.h"

namespace datagen {

double ValueNoise(double x, double y, std::uint32_t seed) {
    const int x0 = FloorToInt(x);
    const int y0 = FloorToInt(y);
    const double fx = SmoothStep(0.0, 1.0, x - x0);
    const double fy = SmoothStep(0.0, 1.0, y - y0);
    const double top = Lerp(HashUnit(x0, y0, seed), HashUnit(x0 + 1, y0, seed), fx);
    const double bottom = Lerp(HashUnit(x0, y0 + 1, seed), HashUnit(x0 + 1, y0 + 1, seed), fx);
    return Lerp(top, bottom, fy);
}

double FractalNoise(double x, double y, int octaves, std::uint32_t seed) {
    double sum = 0.0;
    double weight = 0.5;
    double total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * ValueNoise(x, y, seed + 101u * static_cast<std::uint32_t>(i));
        total += weight;
        x *= 2.0;
        y *= 2.0;
        weight *= 0.5;
    }
    return sum / total;
}

}  // namespace datagen
