// SPDX-License-Identifier: MIT
// Checks the SDL host's sound output as SDL's disk audio driver wrote it (16-bit stereo at
// 44.1 kHz, the format the host opens its device with):
//   sdl_sound_check play FILE.wav HZ SECONDS   plays the file through the engine, then checks
//                                              the output holds the tone at its pitch and length
//   sdl_sound_check find OUTPUT.raw SOUND.wav  checks the output holds the 16-bit mono sound
// The output file is the one SDL_DISKAUDIOFILE names. Exit code 0 when the check passes.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cdx/sound/cdxsound.h"
#include "cdx/sound/cdxsoundbuffer.h"
#include "cdx/sound/wavfile.h"
#include "platform/sdl/sdl_host.h"
#include "platform/sound/sound_device.h"
#include "sound_analysis.h"

using namespace cdx;

using namespace platform;

namespace {

std::vector<std::uint8_t> ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::int16_t> ReadOutput(const char* path) {
    const auto bytes = ReadFile(path);
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

int Play(const char* wav, double hz, double seconds) {
    SdlHost host;
    if (!host.Ready()) {
        std::fprintf(stderr, "no SDL: %s\n", host.StartError());
        return 1;
    }
    SetHost(&host);
    {
        // A device that will not open would make CDXSound ask the user, and wait for the
        // answer: find that out first.
        std::shared_ptr<SoundDevice> probe;
        if (DirectSoundCreate(nullptr, &probe, nullptr) != DS_OK) {
            std::fprintf(stderr, "the audio driver opened no device\n");
            return 1;
        }
    }
    CDXSound sound;
    CDXSoundBuffer buffer;
    if (sound.Create(reinterpret_cast<HWND>(1)) != 1 || sound.SoundDisabled ||
        buffer.Load(&sound, wav, 1) != 1 || buffer.Play(0, 0, 0) != 1) {
        std::fprintf(stderr, "%s: not loaded or not played\n", wav);
        return 1;
    }
    const std::uint32_t start = host.Milliseconds();
    DWORD status = DSBSTATUS_PLAYING;
    while ((status & DSBSTATUS_PLAYING) && host.Milliseconds() - start < 10000) {
        buffer.Copies[0]->GetStatus(&status);
        host.WaitForVerticalBlank();
    }
    const std::uint32_t playedMs = host.Milliseconds() - start;
    for (int i = 0; i < 6; ++i) host.WaitForVerticalBlank();
    buffer.Release();
    sound.DirectSound.reset();  // closes the device, and SDL the output file

    const char* output = std::getenv("SDL_DISKAUDIOFILE");
    const HeardTone left = ListenTo(ReadOutput(output), kSoundRate, 0);
    const HeardTone right = ListenTo(ReadOutput(output), kSoundRate, 1);
    std::printf("%s: heard %.4f s at %.1f Hz (right %.4f s at %.1f Hz), status off after %u ms\n",
                wav, left.seconds, left.hz, right.seconds, right.hz, playedMs);
    const bool good = left.found && right.found && std::fabs(left.seconds - seconds) < 0.01 &&
                      std::fabs(left.hz - hz) < hz * 0.02 &&
                      std::fabs(right.seconds - left.seconds) < 0.001 &&
                      std::fabs(right.hz - left.hz) < 1.0;
    return good ? 0 : 1;
}

// Finds the sound in the output's left channel: the best normalised correlation near the
// output's first loud sample, with the output taken at every other frame (44.1 kHz against
// the sound's 22.05 kHz).
int Find(const char* outputPath, const char* wavPath) {
    const auto wav = ReadFile(wavPath);
    if (wav.size() < kWavHeaderSize) return 1;
    std::uint8_t headerBytes[kWavHeaderSize];
    std::memcpy(headerBytes, wav.data(), kWavHeaderSize);
    const WavHeader header = ReadWavHeader(headerBytes);
    if (header.channels != 1 || header.bitsPerSample != 16 ||
        header.samplesPerSecond * 2 != kSoundRate) {
        std::fprintf(stderr, "%s: expected 16-bit mono at 22050 Hz\n", wavPath);
        return 1;
    }
    std::vector<double> sound((wav.size() - kWavHeaderSize) / 2);
    for (std::size_t i = 0; i < sound.size(); ++i) {
        std::int16_t value;
        std::memcpy(&value, wav.data() + kWavHeaderSize + 2 * i, 2);
        sound[i] = value;
    }
    const auto output = ReadOutput(outputPath);
    const std::size_t frames = output.size() / 2;
    std::size_t onset = 0;
    while (onset < frames && std::abs(output[2 * onset]) <= 300) ++onset;
    if (onset == frames) {
        std::printf("%s: the output is silent (%zu frames)\n", outputPath, frames);
        return 1;
    }
    double best = 0;
    long bestShift = 0;
    for (long shift = -400; shift <= 400; ++shift) {
        double product = 0, outputEnergy = 0, soundEnergy = 0;
        for (std::size_t k = 0; k < sound.size(); ++k) {
            const long frame = static_cast<long>(onset) + shift + 2 * static_cast<long>(k);
            if (frame < 0) continue;
            if (static_cast<std::size_t>(frame) >= frames) break;
            const double heard = output[2 * static_cast<std::size_t>(frame)];
            product += heard * sound[k];
            outputEnergy += heard * heard;
            soundEnergy += sound[k] * sound[k];
        }
        if (outputEnergy == 0 || soundEnergy == 0) continue;
        const double correlation = product / std::sqrt(outputEnergy * soundEnergy);
        if (correlation > best) {
            best = correlation;
            bestShift = shift;
        }
    }
    const double heardSeconds = static_cast<double>(frames - onset) / kSoundRate;
    std::printf("%s found at %.3f s with correlation %.3f (shift %ld); %.2f s of output after it\n",
                wavPath, static_cast<double>(onset) / kSoundRate, best, bestShift, heardSeconds);
    return best > 0.9 && heardSeconds > 1.0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "play") == 0) {
        return Play(argv[2], std::atof(argv[3]), std::atof(argv[4]));
    }
    if (argc == 4 && std::strcmp(argv[1], "find") == 0) return Find(argv[2], argv[3]);
    std::fprintf(stderr, "usage: %s play FILE.wav HZ SECONDS | find OUTPUT.raw SOUND.wav\n",
                 argv[0]);
    return 2;
}
