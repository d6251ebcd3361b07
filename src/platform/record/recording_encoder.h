// SPDX-License-Identifier: MIT
#pragma once

// Turns a run's readings into the bytes of a recording.
//
// The file: the magic "ZELTOREC", the format version, the program's version, the data set's
// 64-bit hash (8 bytes, least significant first), the conditions (a count, then name and value
// pairs), then the entries to the end, compressed as one zlib stream. Numbers are variable-length
// (7 bits a byte, the low bits first, the top bit saying more follow); signed ones are zig-zag
// coded first; texts are a length and their bytes. Every entry starts with one tag byte: its kind
// in the low 6 bits, its flag (a reading that succeeded, a window in front, a picture with sound
// requests) in the top bit, and bit 6 saying the reading is the same as the one before of its kind
// (no key changed, the mouse did not move, no event, the same count, the same picture), in which
// case nothing follows but a Frame's milliseconds and sound requests. Otherwise:
//   Keyboard, Joystick: the count of changed bytes, then each byte's index and new value
//   Mouse: a byte saying which of dx, dy, wheel (bits 0 to 2) follow, and bit 3 the 4 buttons
//   Events: their count, then one byte per event
//   Counter, Milliseconds: the change since the last reading of the clock
//   Frequency, Seconds, MessageBox, SoundStatus: the value
//   OpenSound: the rate, when the flag says it opened
//   DisplayModes: their count, then width, height and bits per pixel of each
//   DesktopSize: width and height
//   Frame: its milliseconds, the picture's hash (8 bytes), and when the flag says so the count
//          of sound requests, then each request's kind, sound, flags, pan, volume and frequency
//   End (the program ended), JoystickAttached, InFront, OpenWindow, SetDisplayMode: nothing
// A recording cut anywhere is whole up to its last Frame entry.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/record/recording.h"

namespace platform {

constexpr std::string_view kRecordingMagic = "ZELTOREC";
constexpr std::uint32_t kRecordingFormatVersion = 1;
constexpr std::uint8_t kEntryFlag = 0x80;
constexpr std::uint8_t kEntryUnchanged = 0x40;
constexpr std::uint8_t kEntryKindMask = 0x3F;

class RecordingEncoder {
public:
    static std::vector<std::uint8_t> Header(const RecordingHeader& header);

    void Keyboard(bool read, const std::uint8_t state[256]);
    void Mouse(bool read, const Host::MouseReading& reading);
    void JoystickAttached(bool attached) { Tag(EntryKind::JoystickAttached, attached); }
    void Joystick(bool read, const std::uint8_t buttons[32]);
    void Events(const std::vector<HostEvent>& events);
    void InFront(bool inFront) { Tag(EntryKind::InFront, inFront); }
    void Counter(std::int64_t count);
    void Frequency(std::int64_t frequency);
    void Milliseconds(std::uint32_t milliseconds);
    void Seconds(std::int64_t seconds);
    void MessageBox(int answer);
    void OpenSound(bool opened, int framesPerSecond);
    void DisplayModes(const std::vector<DisplayMode>& modes);
    void DesktopSize(POINT size);
    void OpenWindow(bool opened) { Tag(EntryKind::OpenWindow, opened); }
    void SetDisplayMode(bool set) { Tag(EntryKind::SetDisplayMode, set); }
    void SoundStatus(std::uint32_t status);
    void Frame(const RecordedFrame& frame);
    void End() { Tag(EntryKind::End, false); }

    // The bytes encoded since the last call, handed over.
    std::vector<std::uint8_t> Take();
    std::size_t Pending() const { return bytes_.size(); }

private:
    void Tag(EntryKind kind, bool flag, bool unchanged = false);
    void Number(std::uint64_t value);
    void Signed(std::int64_t value);
    // The changed bytes of state against last, which becomes state.
    void Changes(EntryKind kind, bool read, const std::uint8_t* state, std::uint8_t* last,
                 std::size_t size);

    std::vector<std::uint8_t> bytes_;
    std::array<std::uint8_t, 256> keyboard_{};
    std::array<std::uint8_t, 32> joystick_{};
    std::array<std::uint8_t, 4> mouseButtons_{};
    std::int64_t counter_ = 0;
    std::uint32_t milliseconds_ = 0;
    std::uint64_t pictureHash_ = 0;
};

}  // namespace platform
