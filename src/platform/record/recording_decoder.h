// SPDX-License-Identifier: MIT
#pragma once

// Reads a recording's header and entries back (see recording_encoder.h for the layout). Every
// read is checked against the bytes left and against limits no recording comes near, so bad
// input is reported, never read past.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "platform/record/recording.h"

namespace platform {

class RecordingDecoder {
public:
    // Limits of what a recording may hold; anything larger is damage.
    static constexpr std::size_t kLongestText = 256 * 1024;
    static constexpr std::size_t kMostConditions = 64;
    static constexpr std::size_t kMostEvents = 4096;
    static constexpr std::size_t kMostDisplayModes = 4096;
    static constexpr std::size_t kMostSounds = 4096;

    enum class Result {
        Read,       // an entry (or the header) was read
        Exhausted,  // no byte left: the recording ends here
        Truncated,  // the bytes end within it: the recording was cut here
        Damaged,    // it is not what a recording holds; Problem() says what
    };

    explicit RecordingDecoder(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    Result ReadHeader(RecordingHeader& header);
    Result ReadEntry(Entry& entry);

    std::size_t Offset() const { return offset_; }
    const std::string& Problem() const { return problem_; }

private:
    bool Byte(std::uint8_t& value);
    bool Number(std::uint64_t& value);
    bool Signed(std::int64_t& value);
    bool Signed32(std::int32_t& value);
    bool Count(std::size_t most, const char* what, std::size_t& count);
    bool Text(std::string& text);
    bool Fixed64(std::uint64_t& value);
    bool Changes(std::uint8_t* state, std::size_t size, bool unchanged);
    bool Mouse(Entry& entry, bool unchanged);
    bool Frame(Entry& entry, bool unchanged);
    // Marks the damage and answers false.
    bool Damage(std::string what);

    std::span<const std::uint8_t> bytes_;
    std::size_t offset_ = 0;
    bool truncated_ = false;
    std::string problem_;
    std::array<std::uint8_t, 256> keyboard_{};
    std::array<std::uint8_t, 32> joystick_{};
    std::array<std::uint8_t, 4> mouseButtons_{};
    std::int64_t counter_ = 0;
    std::uint32_t milliseconds_ = 0;
    std::uint64_t pictureHash_ = 0;
};

}  // namespace platform
