// SPDX-License-Identifier: MIT
#pragma once

// A recording read whole and checked before anything is replayed: its header, and its entries
// (inflated) up to the end of its last whole picture. A recording that was cut short (the program
// killed, the disk full) is kept up to there; one that is damaged anywhere, of another format
// version, or not a recording at all is refused with a message saying why and where.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/record/recording.h"

namespace platform {

class LoadedRecording {
public:
    // No recording is larger, on the disk or inflated: a game of hours stays far below both.
    static constexpr std::uint64_t kLargestFile = 256ull * 1024 * 1024;
    static constexpr std::size_t kLargestEntries = 1024ull * 1024 * 1024;
    // Nor does one inflate to more than this plus kMostInflation times its compressed size: the
    // program's own recordings inflate 3 to 5 times on the SDL host, whose clocks never repeat,
    // and up to 160 times for a game paused on the fake host for ten minutes, within the margin.
    // More is a bomb, whose decoding would take long for nothing.
    static constexpr std::size_t kInflationMargin = 256 * 1024;
    static constexpr std::size_t kMostInflation = 128;

    static std::optional<LoadedRecording> Load(const std::string& path, std::string& problem);
    static std::optional<LoadedRecording> Parse(std::vector<std::uint8_t> bytes,
                                                std::string& problem);

    const RecordingHeader& Header() const { return header_; }
    // The entries to replay: every one up to the last whole picture, or to the program's end.
    std::span<const std::uint8_t> Entries() const;
    std::uint64_t Frames() const { return frames_; }
    // The program's end was recorded: the recording is whole.
    bool Whole() const { return whole_; }

private:
    // Inflates the entries that follow the header; false with the reason when they are damaged.
    bool Inflate(std::span<const std::uint8_t> compressed, std::string& problem);

    RecordingHeader header_;
    std::vector<std::uint8_t> entries_;
    std::size_t entriesEnd_ = 0;
    std::uint64_t frames_ = 0;
    bool whole_ = false;
    bool streamEnded_ = false;  // the entries' stream ended, its checksum right
};

}  // namespace platform
