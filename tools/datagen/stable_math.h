// SPDX-License-Identifier: MIT
#pragma once

// Elementary functions built only from +, -, * and /, so that every build of the generator
// computes the same bits. The C library's sin, exp and pow may differ between library
// versions, which would make the generated data set differ between machines.
namespace datagen {

constexpr double kPi = 3.14159265358979323846;

// Sine of an angle given in turns (1.0 = a full circle).
double SineTurns(double turns);
inline double CosineTurns(double turns) {
    return SineTurns(turns + 0.25);
}

// e to the power x, for |x| up to a few hundred.
double Exp(double x);

// Square root by Newton's method; exact enough for painting and synthesis.
double Sqrt(double x);

// Angle of the vector (x, y) in turns, in [0, 1).
double AngleTurns(double x, double y);

inline double Clamp(double v, double lo, double hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}
inline double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}
inline double SmoothStep(double edge0, double edge1, double x) {
    const double t = Clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}
// Largest integer not above v, for values well inside the int range.
inline int FloorToInt(double v) {
    const int truncated = static_cast<int>(v);
    return (v < truncated) ? truncated - 1 : truncated;
}
inline double Fract(double v) {
    return v - FloorToInt(v);
}

}  // namespace datagen
