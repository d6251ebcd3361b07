// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "wav_writer.h"

namespace datagen {

constexpr int kSampleRate = 22050;

// A two-pole filter section (the usual "cookbook" biquad), for shaping noise and voices.
class Biquad {
public:
    static Biquad LowPass(double cutoffHz, double q);
    static Biquad BandPass(double centreHz, double q);
    static Biquad HighPass(double cutoffHz, double q);

    double Process(double input);
    // Takes another filter's response while keeping this one's memory, so a moving cutoff
    // does not click.
    void Retune(const Biquad& other);

private:
    Biquad(double b0, double b1, double b2, double a1, double a2)
        : b0_(b0), b1_(b1), b2_(b2), a1_(a1), a2_(a2) {}
    double b0_, b1_, b2_, a1_, a2_;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// A sine oscillator that follows a changing frequency without clicks.
class SineOscillator {
public:
    double Next(double frequencyHz);

private:
    double phase_ = 0.0;  // in turns
};

// Number of samples in the given number of seconds.
int SamplesFor(double seconds);

// Scales the sound so that its loudest sample sits at the given peak (below 1: never clips),
// and fades the first and last few milliseconds so it starts and stops without a click.
Sound Finish(std::vector<double> samples, double peak);

}  // namespace datagen
