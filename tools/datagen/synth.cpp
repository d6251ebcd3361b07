// SPDX-License-Identifier: MIT
#include "synth.h"

#include "stable_math.h"

namespace datagen {
namespace {

struct Coefficients {
    double cosine, alpha;
};

Coefficients Prepare(double frequencyHz, double q) {
    const double turns = frequencyHz / kSampleRate;
    return {CosineTurns(turns), SineTurns(turns) / (2.0 * q)};
}

}  // namespace

Biquad Biquad::LowPass(double cutoffHz, double q) {
    const auto [c, alpha] = Prepare(cutoffHz, q);
    const double a0 = 1.0 + alpha;
    return Biquad((1.0 - c) / 2.0 / a0, (1.0 - c) / a0, (1.0 - c) / 2.0 / a0, -2.0 * c / a0,
                  (1.0 - alpha) / a0);
}

Biquad Biquad::BandPass(double centreHz, double q) {
    const auto [c, alpha] = Prepare(centreHz, q);
    const double a0 = 1.0 + alpha;
    return Biquad(alpha / a0, 0.0, -alpha / a0, -2.0 * c / a0, (1.0 - alpha) / a0);
}

Biquad Biquad::HighPass(double cutoffHz, double q) {
    const auto [c, alpha] = Prepare(cutoffHz, q);
    const double a0 = 1.0 + alpha;
    return Biquad((1.0 + c) / 2.0 / a0, -(1.0 + c) / a0, (1.0 + c) / 2.0 / a0, -2.0 * c / a0,
                  (1.0 - alpha) / a0);
}

double Biquad::Process(double input) {
    const double output = b0_ * input + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = input;
    y2_ = y1_;
    y1_ = output;
    return output;
}

void Biquad::Retune(const Biquad& other) {
    b0_ = other.b0_;
    b1_ = other.b1_;
    b2_ = other.b2_;
    a1_ = other.a1_;
    a2_ = other.a2_;
}

double SineOscillator::Next(double frequencyHz) {
    const double value = SineTurns(phase_);
    phase_ = Fract(phase_ + frequencyHz / kSampleRate);
    return value;
}

int SamplesFor(double seconds) {
    return FloorToInt(seconds * kSampleRate);
}

Sound Finish(std::vector<double> samples, double peak) {
    double loudest = 0.0;
    for (double s : samples)
        loudest = s < 0 ? (-s > loudest ? -s : loudest) : (s > loudest ? s : loudest);
    const double gain = loudest > 0.0 ? peak / loudest : 0.0;
    const int fade = SamplesFor(0.004);
    const int count = static_cast<int>(samples.size());
    for (int i = 0; i < count; ++i) {
        double envelope = 1.0;
        if (i < fade) envelope = i / static_cast<double>(fade);
        if (count - 1 - i < fade) envelope = (count - 1 - i) / static_cast<double>(fade);
        samples[i] *= gain * envelope;
    }
    return {kSampleRate, std::move(samples)};
}

}  // namespace datagen
