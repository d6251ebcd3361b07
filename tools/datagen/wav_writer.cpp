// SPDX-License-Identifier: MIT
#include "wav_writer.h"

#include <stdexcept>

#include "byte_writer.h"
#include "stable_math.h"

namespace datagen {

std::vector<std::uint8_t> EncodeWav(const Sound& sound) {
    constexpr std::uint16_t kChannels = 1;
    constexpr std::uint16_t kBitsPerSample = 16;
    constexpr std::uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(sound.samples.size()) * kBlockAlign;

    ByteWriter out;
    out.Tag("RIFF");
    out.U32LE(36 + dataBytes);
    out.Tag("WAVE");
    out.Tag("fmt ");
    out.U32LE(16);
    out.U16LE(1);  // PCM
    out.U16LE(kChannels);
    out.U32LE(static_cast<std::uint32_t>(sound.sampleRate));
    out.U32LE(static_cast<std::uint32_t>(sound.sampleRate) * kBlockAlign);
    out.U16LE(kBlockAlign);
    out.U16LE(kBitsPerSample);
    out.Tag("data");
    out.U32LE(dataBytes);
    for (double sample : sound.samples) {
        if (!(sample >= -1.0 && sample <= 1.0)) {
            throw std::runtime_error("sound sample outside [-1, 1]: the synthesis would clip");
        }
        out.I16LE(static_cast<std::int16_t>(FloorToInt(sample * 32767.0 + 0.5)));
    }
    return out.Bytes();
}

}  // namespace datagen
