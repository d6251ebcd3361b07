// SPDX-License-Identifier: MIT
#include "wav_builder.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>

void PutU16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    PutU16(bytes, offset, static_cast<std::uint16_t>(value));
    PutU16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

std::vector<std::uint8_t> MakeWav(const WavFields& fields, const std::vector<std::uint8_t>& data,
                                  std::uint32_t dataLength) {
    const std::uint16_t blockAlign =
        fields.blockAlign != 0
            ? fields.blockAlign
            : static_cast<std::uint16_t>(fields.channels * fields.bitsPerSample / 8);
    std::vector<std::uint8_t> bytes(44 + data.size());
    const char* tags[] = {"RIFF", "WAVE", "fmt ", "data"};
    const std::size_t tagOffsets[] = {0, 8, 12, 36};
    for (int i = 0; i < 4; ++i) {
        for (int c = 0; c < 4; ++c)
            bytes[tagOffsets[i] + c] = static_cast<std::uint8_t>(tags[i][c]);
    }
    PutU32(bytes, 4, static_cast<std::uint32_t>(36 + data.size()));
    PutU32(bytes, 16, 16);
    PutU16(bytes, 20, fields.formatTag);
    PutU16(bytes, 22, fields.channels);
    PutU32(bytes, 24, fields.samplesPerSecond);
    PutU32(bytes, 28, fields.samplesPerSecond * blockAlign);
    PutU16(bytes, 32, blockAlign);
    PutU16(bytes, 34, fields.bitsPerSample);
    PutU32(bytes, 40, dataLength);
    std::copy(data.begin(), data.end(), bytes.begin() + 44);
    return bytes;
}

std::vector<std::uint8_t> MakeWav(const WavFields& fields, const std::vector<std::uint8_t>& data) {
    return MakeWav(fields, data, static_cast<std::uint32_t>(data.size()));
}

std::vector<std::uint8_t> Tone(const WavFields& fields, double hz, double seconds) {
    const auto frames = static_cast<std::size_t>(std::lround(fields.samplesPerSecond * seconds));
    std::vector<std::uint8_t> data;
    for (std::size_t i = 0; i < frames; ++i) {
        const double value = 0.5 * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) /
                                            fields.samplesPerSecond);
        for (int c = 0; c < fields.channels; ++c) {
            if (fields.bitsPerSample == 8) {
                data.push_back(static_cast<std::uint8_t>(std::lround(128 + 127 * value)));
            } else {
                const auto sample = static_cast<std::uint16_t>(std::lround(32767 * value));
                data.push_back(static_cast<std::uint8_t>(sample));
                data.push_back(static_cast<std::uint8_t>(sample >> 8));
            }
        }
    }
    return data;
}

std::string WriteTestFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("zelto-sound-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const auto path = folder / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path.string();
}
