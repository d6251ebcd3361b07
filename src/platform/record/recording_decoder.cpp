// SPDX-License-Identifier: MIT
#include "platform/record/recording_decoder.h"

#include <cstring>

#include "platform/record/recording_encoder.h"

namespace platform {

bool RecordingDecoder::Damage(std::string what) {
    if (problem_.empty()) problem_ = std::move(what);
    return false;
}

bool RecordingDecoder::Byte(std::uint8_t& value) {
    if (offset_ >= bytes_.size()) {
        truncated_ = true;
        return false;
    }
    value = bytes_[offset_++];
    return true;
}

bool RecordingDecoder::Number(std::uint64_t& value) {
    // Most numbers of a recording are changes small enough for one byte.
    if (offset_ < bytes_.size() && bytes_[offset_] < 0x80) {
        value = bytes_[offset_++];
        return true;
    }
    value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        std::uint8_t byte = 0;
        if (!Byte(byte)) return false;
        if (shift == 63 && byte > 1) return Damage("a number too large");
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) return true;
    }
    return Damage("a number too large");
}

bool RecordingDecoder::Signed(std::int64_t& value) {
    std::uint64_t coded = 0;
    if (!Number(coded)) return false;
    value = static_cast<std::int64_t>((coded >> 1) ^ (~(coded & 1) + 1));
    return true;
}

bool RecordingDecoder::Signed32(std::int32_t& value) {
    std::int64_t wide = 0;
    if (!Signed(wide)) return false;
    if (wide < INT32_MIN || wide > INT32_MAX) return Damage("a number too large");
    value = static_cast<std::int32_t>(wide);
    return true;
}

bool RecordingDecoder::Count(std::size_t most, const char* what, std::size_t& count) {
    std::uint64_t value = 0;
    if (!Number(value)) return false;
    if (value > most) return Damage(std::string("too many ") + what);
    count = static_cast<std::size_t>(value);
    return true;
}

bool RecordingDecoder::Text(std::string& text) {
    std::size_t length = 0;
    if (!Count(kLongestText, "bytes in a text", length)) return false;
    if (length > bytes_.size() - offset_) {
        truncated_ = true;
        return false;
    }
    text.assign(reinterpret_cast<const char*>(bytes_.data() + offset_), length);
    offset_ += length;
    return true;
}

bool RecordingDecoder::Fixed64(std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < 8; ++i) {
        std::uint8_t byte = 0;
        if (!Byte(byte)) return false;
        value |= static_cast<std::uint64_t>(byte) << (8 * i);
    }
    return true;
}

RecordingDecoder::Result RecordingDecoder::ReadHeader(RecordingHeader& header) {
    const auto result = [this](bool read) {
        if (read) return Result::Read;
        return problem_.empty() ? Result::Truncated : Result::Damaged;
    };
    for (char expected : kRecordingMagic) {
        std::uint8_t byte = 0;
        if (!Byte(byte)) return result(false);
        if (byte != static_cast<std::uint8_t>(expected)) {
            return result(Damage("not a recording of this program"));
        }
    }
    std::uint64_t version = 0;
    if (!Number(version)) return result(false);
    if (version != kRecordingFormatVersion) {
        return result(Damage("format version " + std::to_string(version) +
                             ", this program reads version " +
                             std::to_string(kRecordingFormatVersion)));
    }
    std::size_t conditions = 0;
    if (!Text(header.programVersion) || !Fixed64(header.dataSetHash) ||
        !Count(kMostConditions, "conditions", conditions)) {
        return result(false);
    }
    header.conditions.clear();
    for (std::size_t i = 0; i < conditions; ++i) {
        std::string name;
        std::string value;
        if (!Text(name) || !Text(value)) return result(false);
        header.conditions[name] = std::move(value);
    }
    return Result::Read;
}

bool RecordingDecoder::Changes(std::uint8_t* state, std::size_t size, bool unchanged) {
    if (unchanged) return true;
    std::size_t count = 0;
    if (!Count(size, "changed bytes", count)) return false;
    if (count == 0) return Damage("a change of nothing");
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t index = 0;
        std::uint8_t value = 0;
        if (!Byte(index) || !Byte(value)) return false;
        if (index >= size) return Damage("a change out of range");
        state[index] = value;
    }
    return true;
}

bool RecordingDecoder::Mouse(Entry& entry, bool unchanged) {
    entry.mouse = Host::MouseReading{};
    std::memcpy(entry.mouse.buttons, mouseButtons_.data(), mouseButtons_.size());
    if (unchanged) return true;
    std::uint8_t present = 0;
    if (!Byte(present)) return false;
    if (present == 0 || present > 15) return Damage("a mouse reading of nothing");
    if ((present & 1) && !Signed32(entry.mouse.dx)) return false;
    if ((present & 2) && !Signed32(entry.mouse.dy)) return false;
    if ((present & 4) && !Signed32(entry.mouse.wheel)) return false;
    if (present & 8) {
        for (std::uint8_t& button : mouseButtons_) {
            if (!Byte(button)) return false;
        }
        std::memcpy(entry.mouse.buttons, mouseButtons_.data(), mouseButtons_.size());
    }
    return true;
}

bool RecordingDecoder::Frame(Entry& entry, bool unchanged) {
    RecordedFrame& frame = entry.frame;
    frame.sounds.clear();
    std::uint64_t milliseconds = 0;
    if (!Number(milliseconds)) return false;
    if (milliseconds > UINT32_MAX) return Damage("a picture's time too large");
    frame.milliseconds = static_cast<std::uint32_t>(milliseconds);
    if (!unchanged && !Fixed64(pictureHash_)) return false;
    frame.pictureHash = pictureHash_;
    if (!entry.flag) return true;
    std::size_t count = 0;
    if (!Count(kMostSounds, "sound requests", count)) return false;
    if (count == 0) return Damage("a picture's sound requests of none");
    for (std::size_t i = 0; i < count; ++i) {
        SoundRequest sound;
        std::uint8_t kind = 0;
        std::uint64_t id = 0;
        std::uint64_t flags = 0;
        std::uint64_t frequency = 0;
        if (!Byte(kind) || !Number(id) || !Number(flags) || !Signed32(sound.pan) ||
            !Signed32(sound.volume) || !Number(frequency)) {
            return false;
        }
        if (kind > 1 || id > UINT32_MAX || flags > UINT32_MAX || frequency > UINT32_MAX) {
            return Damage("a sound request out of range");
        }
        sound.kind = static_cast<SoundRequest::Kind>(kind);
        sound.sound = static_cast<std::uint32_t>(id);
        sound.flags = static_cast<std::uint32_t>(flags);
        sound.frequency = static_cast<std::uint32_t>(frequency);
        frame.sounds.push_back(sound);
    }
    return true;
}

RecordingDecoder::Result RecordingDecoder::ReadEntry(Entry& entry) {
    if (offset_ >= bytes_.size()) return Result::Exhausted;
    const std::size_t start = offset_;
    std::uint8_t tag = 0;
    Byte(tag);
    const std::uint8_t kindNumber = tag & kEntryKindMask;
    if (kindNumber == 0 || kindNumber > kLastEntryKind) {
        Damage("an entry of unknown kind " + std::to_string(kindNumber));
        offset_ = start;
        return Result::Damaged;
    }
    entry.kind = static_cast<EntryKind>(kindNumber);
    entry.flag = (tag & kEntryFlag) != 0;
    const bool unchanged = (tag & kEntryUnchanged) != 0;
    bool read = true;
    switch (entry.kind) {
        case EntryKind::Keyboard:
            read = !entry.flag || Changes(keyboard_.data(), keyboard_.size(), unchanged);
            entry.keyboard = &keyboard_;
            break;
        case EntryKind::Joystick:
            read = !entry.flag || Changes(joystick_.data(), joystick_.size(), unchanged);
            entry.joystick = &joystick_;
            break;
        case EntryKind::Mouse:
            read = !entry.flag || Mouse(entry, unchanged);
            break;
        case EntryKind::Events: {
            entry.events.clear();
            std::size_t count = 0;
            if (unchanged) break;
            read = Count(kMostEvents, "events", count);
            for (std::size_t i = 0; read && i < count; ++i) {
                std::uint8_t kind = 0;
                read = Byte(kind);
                if (read && kind > static_cast<std::uint8_t>(HostEvent::Kind::DisplayLost)) {
                    read = Damage("an event of unknown kind");
                }
                if (read) entry.events.push_back(static_cast<HostEvent::Kind>(kind));
            }
            break;
        }
        case EntryKind::Counter: {
            std::int64_t change = 0;
            read = unchanged || Signed(change);
            counter_ = static_cast<std::int64_t>(static_cast<std::uint64_t>(counter_) +
                                                 static_cast<std::uint64_t>(change));
            entry.value = counter_;
            break;
        }
        case EntryKind::Milliseconds: {
            std::int32_t change = 0;
            read = Signed32(change);
            milliseconds_ += static_cast<std::uint32_t>(change);
            entry.value = milliseconds_;
            break;
        }
        case EntryKind::Frequency:
        case EntryKind::Seconds:
            read = Signed(entry.value);
            break;
        case EntryKind::MessageBox:
        case EntryKind::OpenSound: {
            std::int32_t value = 0;
            read = (entry.kind == EntryKind::OpenSound && !entry.flag) || Signed32(value);
            entry.value = value;
            break;
        }
        case EntryKind::SoundStatus: {
            std::uint64_t status = 0;
            read = Number(status);
            if (read && status > UINT32_MAX) read = Damage("a sound status too large");
            entry.value = static_cast<std::int64_t>(status);
            break;
        }
        case EntryKind::DisplayModes: {
            entry.modes.clear();
            std::size_t count = 0;
            read = Count(kMostDisplayModes, "display modes", count);
            for (std::size_t i = 0; read && i < count; ++i) {
                std::int32_t width = 0;
                std::int32_t height = 0;
                std::int32_t bits = 0;
                read = Signed32(width) && Signed32(height) && Signed32(bits);
                entry.modes.push_back(DisplayMode{width, height, bits});
            }
            break;
        }
        case EntryKind::DesktopSize:
            read = Signed32(entry.size.x) && Signed32(entry.size.y);
            break;
        case EntryKind::Frame:
            read = Frame(entry, unchanged);
            break;
        case EntryKind::JoystickAttached:
        case EntryKind::InFront:
        case EntryKind::OpenWindow:
        case EntryKind::SetDisplayMode:
        case EntryKind::End:
            break;
    }
    if (read) return Result::Read;
    offset_ = start;
    if (!problem_.empty()) return Result::Damaged;
    return truncated_ ? Result::Truncated : Result::Damaged;
}

}  // namespace platform
