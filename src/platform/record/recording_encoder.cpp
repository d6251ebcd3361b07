// SPDX-License-Identifier: MIT
#include "platform/record/recording_encoder.h"

#include <cstring>

namespace platform {
namespace {

void AppendNumber(std::vector<std::uint8_t>& bytes, std::uint64_t value) {
    while (value >= 0x80) {
        bytes.push_back(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    bytes.push_back(static_cast<std::uint8_t>(value));
}

void AppendText(std::vector<std::uint8_t>& bytes, std::string_view text) {
    AppendNumber(bytes, text.size());
    bytes.insert(bytes.end(), text.begin(), text.end());
}

void AppendFixed64(std::vector<std::uint8_t>& bytes, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t ZigZag(std::int64_t value) {
    return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
}

}  // namespace

std::vector<std::uint8_t> RecordingEncoder::Header(const RecordingHeader& header) {
    std::vector<std::uint8_t> bytes(kRecordingMagic.begin(), kRecordingMagic.end());
    AppendNumber(bytes, kRecordingFormatVersion);
    AppendText(bytes, header.programVersion);
    AppendFixed64(bytes, header.dataSetHash);
    AppendNumber(bytes, header.conditions.size());
    for (const auto& [name, value] : header.conditions) {
        AppendText(bytes, name);
        AppendText(bytes, value);
    }
    return bytes;
}

void RecordingEncoder::Tag(EntryKind kind, bool flag, bool unchanged) {
    bytes_.push_back(static_cast<std::uint8_t>(static_cast<std::uint8_t>(kind) |
                                               (flag ? kEntryFlag : 0) |
                                               (unchanged ? kEntryUnchanged : 0)));
}

void RecordingEncoder::Number(std::uint64_t value) {
    AppendNumber(bytes_, value);
}

void RecordingEncoder::Signed(std::int64_t value) {
    AppendNumber(bytes_, ZigZag(value));
}

void RecordingEncoder::Changes(EntryKind kind, bool read, const std::uint8_t* state,
                               std::uint8_t* last, std::size_t size) {
    if (!read) {
        Tag(kind, false);
        return;
    }
    std::size_t changed = 0;
    for (std::size_t i = 0; i < size; ++i) changed += state[i] != last[i] ? 1 : 0;
    Tag(kind, true, changed == 0);
    if (changed == 0) return;
    Number(changed);
    for (std::size_t i = 0; i < size; ++i) {
        if (state[i] == last[i]) continue;
        bytes_.push_back(static_cast<std::uint8_t>(i));
        bytes_.push_back(state[i]);
    }
    std::memcpy(last, state, size);
}

void RecordingEncoder::Keyboard(bool read, const std::uint8_t state[256]) {
    Changes(EntryKind::Keyboard, read, state, keyboard_.data(), keyboard_.size());
}

void RecordingEncoder::Joystick(bool read, const std::uint8_t buttons[32]) {
    Changes(EntryKind::Joystick, read, buttons, joystick_.data(), joystick_.size());
}

void RecordingEncoder::Mouse(bool read, const Host::MouseReading& reading) {
    if (!read) {
        Tag(EntryKind::Mouse, false);
        return;
    }
    const bool buttonsChanged =
        std::memcmp(reading.buttons, mouseButtons_.data(), mouseButtons_.size()) != 0;
    const std::uint8_t present =
        static_cast<std::uint8_t>((reading.dx != 0 ? 1 : 0) | (reading.dy != 0 ? 2 : 0) |
                                  (reading.wheel != 0 ? 4 : 0) | (buttonsChanged ? 8 : 0));
    Tag(EntryKind::Mouse, true, present == 0);
    if (present == 0) return;
    bytes_.push_back(present);
    if (reading.dx != 0) Signed(reading.dx);
    if (reading.dy != 0) Signed(reading.dy);
    if (reading.wheel != 0) Signed(reading.wheel);
    if (buttonsChanged) {
        bytes_.insert(bytes_.end(), std::begin(reading.buttons), std::end(reading.buttons));
        std::memcpy(mouseButtons_.data(), reading.buttons, mouseButtons_.size());
    }
}

void RecordingEncoder::Events(const std::vector<HostEvent>& events) {
    Tag(EntryKind::Events, false, events.empty());
    if (events.empty()) return;
    Number(events.size());
    for (const HostEvent& event : events) bytes_.push_back(static_cast<std::uint8_t>(event.kind));
}

void RecordingEncoder::Counter(std::int64_t count) {
    Tag(EntryKind::Counter, false, count == counter_);
    if (count == counter_) return;
    Signed(static_cast<std::int64_t>(static_cast<std::uint64_t>(count) -
                                     static_cast<std::uint64_t>(counter_)));
    counter_ = count;
}

void RecordingEncoder::Frequency(std::int64_t frequency) {
    Tag(EntryKind::Frequency, false);
    Signed(frequency);
}

void RecordingEncoder::Milliseconds(std::uint32_t milliseconds) {
    Tag(EntryKind::Milliseconds, false);
    // The clock wraps after 49 days; the change is taken the short way round.
    Signed(static_cast<std::int32_t>(milliseconds - milliseconds_));
    milliseconds_ = milliseconds;
}

void RecordingEncoder::Seconds(std::int64_t seconds) {
    Tag(EntryKind::Seconds, false);
    Signed(seconds);
}

void RecordingEncoder::MessageBox(int answer) {
    Tag(EntryKind::MessageBox, false);
    Signed(answer);
}

void RecordingEncoder::OpenSound(bool opened, int framesPerSecond) {
    Tag(EntryKind::OpenSound, opened);
    if (opened) Signed(framesPerSecond);
}

void RecordingEncoder::DisplayModes(const std::vector<DisplayMode>& modes) {
    Tag(EntryKind::DisplayModes, false);
    Number(modes.size());
    for (const DisplayMode& mode : modes) {
        Signed(mode.width);
        Signed(mode.height);
        Signed(mode.bitsPerPixel);
    }
}

void RecordingEncoder::DesktopSize(POINT size) {
    Tag(EntryKind::DesktopSize, false);
    Signed(size.x);
    Signed(size.y);
}

void RecordingEncoder::SoundStatus(std::uint32_t status) {
    Tag(EntryKind::SoundStatus, false);
    Number(status);
}

void RecordingEncoder::Frame(const RecordedFrame& frame) {
    const bool samePicture = frame.pictureHash == pictureHash_;
    Tag(EntryKind::Frame, !frame.sounds.empty(), samePicture);
    Number(frame.milliseconds);
    if (!samePicture) AppendFixed64(bytes_, frame.pictureHash);
    pictureHash_ = frame.pictureHash;
    if (frame.sounds.empty()) return;
    Number(frame.sounds.size());
    for (const SoundRequest& sound : frame.sounds) {
        bytes_.push_back(static_cast<std::uint8_t>(sound.kind));
        Number(sound.sound);
        Number(sound.flags);
        Signed(sound.pan);
        Signed(sound.volume);
        Number(sound.frequency);
    }
}

std::vector<std::uint8_t> RecordingEncoder::Take() {
    std::vector<std::uint8_t> taken;
    taken.swap(bytes_);
    return taken;
}

}  // namespace platform
