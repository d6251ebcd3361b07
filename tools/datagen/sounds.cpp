// SPDX-License-Identifier: MIT
// The six sound effects, synthesised from oscillators, filtered noise and envelopes. Every
// sound is brought to the same peak below full scale, so none clips.

#include "sounds.h"

#include "random.h"
#include "stable_math.h"
#include "synth.h"

namespace datagen {
namespace {

constexpr double kPeak = 0.85;

double Seconds(int sample) {
    return sample / static_cast<double>(kSampleRate);
}

// Noise in [-1, 1).
double Noise(Random& random) {
    return random.Unit() * 2.0 - 1.0;
}

// A struck bell-like tone: a few partials with their own decays.
double BellTone(double t, double frequency, double decay) {
    if (t < 0.0) return 0.0;
    const double attack = Clamp(t / 0.003, 0.0, 1.0);
    return attack * (SineTurns(frequency * t) * Exp(-t / decay) +
                     0.35 * SineTurns(2.0 * frequency * t) * Exp(-t / (decay * 0.6)) +
                     0.18 * SineTurns(2.76 * frequency * t) * Exp(-t / (decay * 0.4)));
}

}  // namespace

Sound MakePickSound() {
    std::vector<double> samples(SamplesFor(0.45));
    for (int i = 0; i < static_cast<int>(samples.size()); ++i) {
        const double t = Seconds(i);
        samples[i] = 0.8 * BellTone(t, 1318.5, 0.10) + BellTone(t - 0.065, 1975.5, 0.13);
    }
    return Finish(std::move(samples), kPeak);
}

Sound MakeSpawnSound() {
    const double length = 0.7;
    std::vector<double> samples(SamplesFor(length));
    Random random(0x5BA1);
    Biquad air = Biquad::BandPass(4000.0, 2.0);
    static const double kDetune[6] = {1.0, 1.007, 1.5, 1.503, 2.0, 2.51};
    SineOscillator partials[6];
    for (int i = 0; i < static_cast<int>(samples.size()); ++i) {
        const double t = Seconds(i);
        const double progress = t / length;
        const double base = 620.0 * (1.0 + progress * 1.2);
        double tone = 0.0;
        for (int p = 0; p < 6; ++p) tone += partials[p].Next(base * kDetune[p]) / (1.0 + p * 0.5);
        const double tremolo = 0.65 + 0.35 * SineTurns(17.0 * t);
        const double envelope = SmoothStep(0.0, 0.18, t) * (1.0 - SmoothStep(0.45, length, t));
        const double sparkle = air.Process(Noise(random)) * 0.6;
        samples[i] = envelope * (tone * tremolo + sparkle);
    }
    return Finish(std::move(samples), kPeak * 0.8);
}

Sound MakeGongSound() {
    const double length = 2.8;
    std::vector<double> samples(SamplesFor(length));
    struct Partial {
        double ratio, amplitude, decay;
    };
    // Inharmonic partials, with near-pairs that beat slowly, as in a real gong.
    static const Partial kPartials[] = {{1.0, 1.0, 1.6},   {1.006, 0.5, 1.4}, {1.52, 0.6, 1.2},
                                        {2.03, 0.45, 1.0}, {2.47, 0.4, 0.8},  {2.94, 0.3, 0.7},
                                        {3.61, 0.25, 0.5}, {4.23, 0.2, 0.4},  {5.1, 0.12, 0.3}};
    const double fundamental = 98.0;
    Random random(0x6046);
    Biquad strike = Biquad::LowPass(1800.0, 0.7);
    for (int i = 0; i < static_cast<int>(samples.size()); ++i) {
        const double t = Seconds(i);
        // The pitch settles just after the strike.
        const double bend = 1.0 + 0.015 * Exp(-t / 0.08);
        double tone = 0.0;
        for (const Partial& p : kPartials) {
            // Upper partials bloom a little after the strike.
            const double bloom = p.ratio > 2.0 ? SmoothStep(0.0, 0.08, t) : 1.0;
            tone += p.amplitude * bloom * Exp(-t / p.decay) *
                    SineTurns(fundamental * p.ratio * bend * t);
        }
        const double mallet = strike.Process(Noise(random)) * Exp(-t / 0.02) * 1.5;
        samples[i] = tone * Clamp(t / 0.004, 0.0, 1.0) + mallet;
    }
    return Finish(std::move(samples), kPeak);
}

Sound MakeGruntSound() {
    const double length = 0.3;
    std::vector<double> samples(SamplesFor(length));
    Random random(0x6A47);
    Biquad formant1 = Biquad::BandPass(620.0, 4.0);
    Biquad formant2 = Biquad::BandPass(1080.0, 5.0);
    Biquad formant3 = Biquad::BandPass(2500.0, 7.0);
    Biquad warmth = Biquad::LowPass(3000.0, 0.7);
    double phase = 0.0;
    for (int i = 0; i < static_cast<int>(samples.size()); ++i) {
        const double t = Seconds(i);
        const double pitch = 135.0 - 40.0 * (t / length) + 6.0 * SineTurns(23.0 * t);
        phase = Fract(phase + pitch / kSampleRate);
        // A glottal pulse: a sharp rise and a slower fall, rich in harmonics.
        const double pulse = phase < 0.35 ? phase / 0.35 : 1.0 - (phase - 0.35) / 0.65;
        const double source = (pulse * 2.0 - 1.0) + 0.25 * Noise(random);
        const double voice = formant1.Process(source) * 1.0 + formant2.Process(source) * 0.6 +
                             formant3.Process(source) * 0.2;
        const double envelope = SmoothStep(0.0, 0.025, t) * (1.0 - SmoothStep(0.12, length, t));
        samples[i] = warmth.Process(voice) * envelope;
    }
    return Finish(std::move(samples), kPeak);
}

Sound MakeExplodeSound() {
    const double length = 1.5;
    std::vector<double> samples(SamplesFor(length));
    Random random(0xB00E);
    SineOscillator thump;
    double rumble = 0.0;
    Biquad blast = Biquad::LowPass(5650.0, 0.8);
    for (int i = 0; i < static_cast<int>(samples.size()); ++i) {
        const double t = Seconds(i);
        // Noise through a low-pass whose cutoff falls as the blast dies away; the filter is
        // retuned every few milliseconds as the cutoff moves.
        if (i % 64 == 0) blast.Retune(Biquad::LowPass(150.0 + 5500.0 * Exp(-t / 0.18), 0.8));
        const double noise = blast.Process(Noise(random));
        rumble = rumble * 0.995 + Noise(random) * 0.005;
        const double body = noise * Exp(-t / 0.38) * Clamp(t / 0.005, 0.0, 1.0);
        const double low = thump.Next(35.0 + 60.0 * Exp(-t / 0.12)) * Exp(-t / 0.3) * 0.9;
        double crackle = 0.0;
        if (t < 0.7 && random.Unit() < 0.004 * (1.0 - t / 0.7)) crackle = Noise(random) * 1.5;
        samples[i] = body + low + rumble * 6.0 * Exp(-t / 0.6) + crackle;
    }
    return Finish(std::move(samples), kPeak);
}

Sound MakeMonsterSound() {
    const double length = 1.0;
    std::vector<double> samples(SamplesFor(length));
    Random random(0x303A);
    Biquad formant1 = Biquad::BandPass(420.0, 3.0);
    Biquad formant2 = Biquad::BandPass(800.0, 4.0);
    Biquad rasp = Biquad::BandPass(1500.0, 1.5);
    Biquad dark = Biquad::LowPass(2200.0, 0.7);
    double phase = 0.0;
    for (int i = 0; i < static_cast<int>(samples.size()); ++i) {
        const double t = Seconds(i);
        // The growl rises, holds and sinks, with a slow wobble and a fast rough flutter.
        const double contour = 1.0 + 0.25 * SineTurns(t / length * 0.5);
        const double pitch = 62.0 * contour * (1.0 + 0.04 * SineTurns(5.5 * t));
        phase = Fract(phase + pitch / kSampleRate);
        const double saw = phase * 2.0 - 1.0;
        const double flutter = 0.6 + 0.4 * SineTurns(31.0 * t + 0.2 * SineTurns(3.0 * t));
        const double source = saw * flutter;
        const double voice = formant1.Process(source) + 0.7 * formant2.Process(source) +
                             0.35 * rasp.Process(Noise(random)) * flutter + 0.3 * source;
        const double envelope = SmoothStep(0.0, 0.12, t) * (1.0 - SmoothStep(0.65, length, t));
        samples[i] = dark.Process(voice) * envelope;
    }
    return Finish(std::move(samples), kPeak);
}

}  // namespace datagen
