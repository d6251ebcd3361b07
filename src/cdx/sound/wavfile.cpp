// SPDX-License-Identifier: MIT
#include "cdx/sound/wavfile.h"

namespace cdx {

namespace {

std::uint16_t U16At(const std::uint8_t* bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::uint32_t U32At(const std::uint8_t* bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(U16At(bytes, offset)) |
           static_cast<std::uint32_t>(U16At(bytes, offset + 2)) << 16;
}

}  // namespace

WavHeader ReadWavHeader(const std::uint8_t (&bytes)[kWavHeaderSize]) {
    WavHeader header;
    header.channels = U16At(bytes, 22);
    header.samplesPerSecond = U32At(bytes, 24);
    header.blockAlign = U16At(bytes, 32);
    header.bitsPerSample = U16At(bytes, 34);
    header.dataLength = U32At(bytes, 40);
    return header;
}

platform::WAVEFORMATEX WavBufferFormat(const WavHeader& header) {
    platform::WAVEFORMATEX format;
    format.wFormatTag = platform::WAVE_FORMAT_PCM;
    format.nChannels = header.channels > 1 ? 2 : 1;
    format.nSamplesPerSec = header.samplesPerSecond;
    format.nBlockAlign = header.blockAlign;
    // Wraps like the 32-bit field it fills; the service refuses a format that does not add up.
    format.nAvgBytesPerSec = header.blockAlign * header.samplesPerSecond;
    format.wBitsPerSample = header.bitsPerSample;
    return format;
}

bool WavDataFitsFile(const WavHeader& header, std::uint64_t fileSize) {
    return fileSize >= kWavHeaderSize && header.dataLength <= fileSize - kWavHeaderSize;
}

}  // namespace cdx
