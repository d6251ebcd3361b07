// SPDX-License-Identifier: MIT
#pragma once

// The WAV file as the engine reads it: a fixed 44-byte header whose fields are taken at fixed
// offsets, tags unchecked and no other chunk looked for, then the sample data. Plain code over
// bytes.

#include <cstddef>
#include <cstdint>

#include "platform/host/sound_types.h"

namespace cdx {

inline constexpr std::size_t kWavHeaderSize = 44;

struct WavHeader {
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint32_t dataLength = 0;  // bytes of sample data after the header
};

WavHeader ReadWavHeader(const std::uint8_t (&bytes)[kWavHeaderSize]);

// The PCM format the sound buffer is made with: whatever the file's format tag, PCM; more than
// one channel is two; bytes per second from the block align.
platform::WAVEFORMATEX WavBufferFormat(const WavHeader& header);

// Whether the header's sample data lies within a file of fileSize bytes.
bool WavDataFitsFile(const WavHeader& header, std::uint64_t fileSize);

}  // namespace cdx
