// SPDX-License-Identifier: MIT
#include "stable_math.h"

namespace datagen {

double SineTurns(double turns) {
    // Reduce to [-0.5, 0.5) turns, then fold into [-0.25, 0.25] where the series converges fast.
    double t = turns - FloorToInt(turns + 0.5);
    if (t > 0.25) t = 0.5 - t;
    if (t < -0.25) t = -0.5 - t;
    const double x = t * 2.0 * kPi;
    const double x2 = x * x;
    // Taylor series to x^17: error below 1e-13 on [-pi/2, pi/2].
    double term = x;
    double sum = x;
    for (int n = 1; n <= 8; ++n) {
        term *= -x2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

double Exp(double x) {
    // exp(x) = exp(x / 2^k)^(2^k) with a short series for the small argument.
    int halvings = 0;
    while ((x > 0.5 || x < -0.5) && halvings < 30) {
        x *= 0.5;
        ++halvings;
    }
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 12; ++n) {
        term *= x / n;
        sum += term;
    }
    for (int i = 0; i < halvings; ++i) sum *= sum;
    return sum;
}

double Sqrt(double x) {
    if (x <= 0.0) return 0.0;
    double guess = x > 1.0 ? x : 1.0;
    for (int i = 0; i < 64; ++i) {
        const double next = 0.5 * (guess + x / guess);
        if (next >= guess) break;
        guess = next;
    }
    return guess;
}

double AngleTurns(double x, double y) {
    if (x == 0.0 && y == 0.0) return 0.0;
    // Arctangent of the smaller ratio by a series after two argument halvings, then placed in
    // its octant.
    const double ax = x < 0 ? -x : x;
    const double ay = y < 0 ? -y : y;
    const bool steep = ay > ax;
    double r = steep ? ax / ay : ay / ax;  // in [0, 1]
    // atan(r) = 2 atan(r / (1 + sqrt(1 + r^2))), applied twice brings r below 0.2.
    for (int i = 0; i < 2; ++i) r = r / (1.0 + Sqrt(1.0 + r * r));
    const double r2 = r * r;
    double term = r;
    double sum = r;
    for (int n = 1; n <= 10; ++n) {
        term *= -r2;
        sum += term / (2.0 * n + 1.0);
    }
    double angle = sum * 4.0;  // radians in [0, pi/4]
    if (steep) angle = kPi / 2.0 - angle;
    if (x < 0) angle = kPi - angle;
    if (y < 0) angle = 2.0 * kPi - angle;
    double turns = angle / (2.0 * kPi);
    if (turns >= 1.0) turns -= 1.0;
    return turns;
}

}  // namespace datagen
