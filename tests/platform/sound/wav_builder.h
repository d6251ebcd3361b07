// SPDX-License-Identifier: MIT
#pragma once

// WAV files for the sound tests: canonical 44-byte headers over given samples, tones, and files
// written where a test can load them.

#include <cstdint>
#include <string>
#include <vector>

struct WavFields {
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 1;
    std::uint32_t samplesPerSecond = 22050;
    std::uint16_t bitsPerSample = 16;
    std::uint16_t blockAlign = 0;  // 0: channels x bits / 8
};

// A 44-byte header saying dataLength bytes follow, then the data as given.
std::vector<std::uint8_t> MakeWav(const WavFields& fields, const std::vector<std::uint8_t>& data,
                                  std::uint32_t dataLength);
std::vector<std::uint8_t> MakeWav(const WavFields& fields, const std::vector<std::uint8_t>& data);

// A sine of hz at half of full scale, in the fields' format (8-bit unsigned or 16-bit signed,
// every channel the same).
std::vector<std::uint8_t> Tone(const WavFields& fields, double hz, double seconds);

void PutU16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value);
void PutU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);

// Writes bytes to a file of this name in a folder of the test's own; returns its path.
std::string WriteTestFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
