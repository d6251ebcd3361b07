// SPDX-License-Identifier: MIT
#pragma once

// What a recorded game holds: every reading the program took from the machine, in the order it
// took them, and one entry per presented picture (its hash and the sound requests made since
// the picture before). The file's layout is in recording_encoder.h.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/host/host.h"

namespace platform {

enum class EntryKind : std::uint8_t {
    Keyboard = 1,
    Mouse,
    JoystickAttached,
    Joystick,
    Events,
    InFront,
    Counter,
    Frequency,
    Milliseconds,
    Seconds,
    MessageBox,
    OpenSound,
    DisplayModes,
    DesktopSize,
    OpenWindow,
    SetDisplayMode,
    SoundStatus,
    Frame,
    End,
};
constexpr std::uint8_t kLastEntryKind = static_cast<std::uint8_t>(EntryKind::End);

// What the entry holds, in words: "a keyboard reading", "a picture".
const char* EntryName(EntryKind kind);

// A sound played or stopped by the program. The sound is numbered in the order the program first
// used it, since its memory lies elsewhere in every run.
struct SoundRequest {
    enum class Kind : std::uint8_t { Played = 0, Stopped = 1 };
    Kind kind = Kind::Played;
    std::uint32_t sound = 0;
    std::uint32_t flags = 0;
    std::int32_t pan = 0;
    std::int32_t volume = 0;
    std::uint32_t frequency = 0;
    bool operator==(const SoundRequest&) const = default;
};

// One presented picture.
struct RecordedFrame {
    std::uint64_t pictureHash = 0;
    // Milliseconds on the machine's clock since the picture before (since the recording began,
    // for the first): the pace a viewer shows it at.
    std::uint32_t milliseconds = 0;
    std::vector<SoundRequest> sounds;
};

// One decoded entry. The fields the kind uses are set; keyboard and joystick point at the whole
// state after the reading, kept by the decoder until its next entry.
struct Entry {
    EntryKind kind = EntryKind::End;
    bool flag = false;       // the reading succeeded; in front; attached; opened; set
    std::int64_t value = 0;  // a clock, a frequency, an answer, a sound rate or status
    POINT size{};            // the desktop's size
    const std::array<std::uint8_t, 256>* keyboard = nullptr;
    Host::MouseReading mouse;
    const std::array<std::uint8_t, 32>* joystick = nullptr;
    std::vector<HostEvent::Kind> events;
    std::vector<DisplayMode> modes;
    RecordedFrame frame;
};

// What the file says about the run before its entries.
struct RecordingHeader {
    std::string programVersion;
    std::uint64_t dataSetHash = 0;
    // The program's own conditions of the run (its options, its kept files), by name.
    std::map<std::string, std::string> conditions;
};

}  // namespace platform
