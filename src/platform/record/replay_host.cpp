// SPDX-License-Identifier: MIT
#include "platform/record/replay_host.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/host/scan_codes.h"
#include "platform/record/picture_hash.h"

namespace platform {
namespace {

// The longest sleep between two looks at the viewer's window.
constexpr std::uint32_t kViewerSlice = 20;

std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof(text), "%016" PRIx64, value);
    return text;
}

std::string Describe(const std::vector<SoundRequest>& sounds) {
    if (sounds.empty()) return "none";
    std::string text;
    for (const SoundRequest& sound : sounds) {
        if (!text.empty()) text += ", ";
        text += sound.kind == SoundRequest::Kind::Played ? "play " : "stop ";
        text += "sound " + std::to_string(sound.sound) + " (flags " + std::to_string(sound.flags) +
                ", pan " + std::to_string(sound.pan) + ", volume " + std::to_string(sound.volume) +
                ", " + std::to_string(sound.frequency) + " Hz)";
    }
    return text;
}

}  // namespace

ReplayHost::ReplayHost(Host& output, const LoadedRecording& recording, Pace pace)
    : output_(output), pace_(pace), decoder_(recording.Entries()) {
    InstallFaultHooks(*this, this);
}

ReplayHost::~ReplayHost() = default;

void ReplayHost::Stop(Outcome::Kind kind, std::string what) {
    if (outcome_.kind != Outcome::Kind::Replaying) return;
    outcome_.kind = kind;
    outcome_.frame = framesMatched_ + 1;
    outcome_.what = std::move(what);
    stoppedAt_ = output_.Milliseconds();
}

void ReplayHost::Differ(std::string what) {
    if (describe_) what += "; the program was " + describe_();
    Stop(Outcome::Kind::Differed, std::move(what));
}

bool ReplayHost::Next(EntryKind kind) {
    if (outcome_.kind != Outcome::Kind::Replaying) return false;
    switch (decoder_.ReadEntry(entry_)) {
        case RecordingDecoder::Result::Read:
            break;
        case RecordingDecoder::Result::Exhausted:
        case RecordingDecoder::Result::Truncated:
            Stop(Outcome::Kind::CutShort,
                 "the recording is cut short after frame " + std::to_string(framesMatched_));
            return false;
        case RecordingDecoder::Result::Damaged:
            Differ("the recording is damaged here: " + decoder_.Problem());
            return false;
    }
    if (entry_.kind == kind) return true;
    if (entry_.kind == EntryKind::End) {
        Differ(std::string("the program asked for ") + EntryName(kind) +
               " where the recorded program ended");
    } else {
        Differ(std::string("the program asked for ") + EntryName(kind) +
               " where the recording holds " + EntryName(entry_.kind));
    }
    return false;
}

void ReplayHost::ProgramEnded() {
    if (outcome_.kind != Outcome::Kind::Replaying) return;
    if (decoder_.ReadEntry(entry_) != RecordingDecoder::Result::Read) {
        Stop(Outcome::Kind::CutShort,
             "the recording is cut short after frame " + std::to_string(framesMatched_));
    } else if (entry_.kind == EntryKind::End) {
        Stop(Outcome::Kind::Ended, "the program ended where the recording ends");
    } else {
        Differ(std::string("the program ended where the recording holds ") +
               EntryName(entry_.kind));
    }
}

bool ReplayHost::OpenWindow(const char* title, HICON icon) {
    const bool opened = output_.OpenWindow(title, icon);
    return Next(EntryKind::OpenWindow) ? entry_.flag : opened;
}

POINT ReplayHost::DesktopSize() {
    return Next(EntryKind::DesktopSize) ? entry_.size : output_.DesktopSize();
}

void ReplayHost::PollEvents(std::vector<HostEvent>& events) {
    if (Next(EntryKind::Events)) {
        for (HostEvent::Kind kind : entry_.events) events.push_back(HostEvent{kind});
        return;
    }
    if (!closeAsked_) {
        closeAsked_ = true;
        events.push_back(HostEvent{HostEvent::Kind::CloseRequested});
    }
}

void ReplayHost::WaitForEvent() {
    // What comes next is in the recording; only a stopped replay lets the output's time pass.
    if (outcome_.kind != Outcome::Kind::Replaying) output_.WaitForVerticalBlank();
}

std::vector<DisplayMode> ReplayHost::DisplayModes() {
    return Next(EntryKind::DisplayModes) ? entry_.modes : output_.DisplayModes();
}

bool ReplayHost::SetDisplayMode(const DisplayMode& mode) {
    const bool set = output_.SetDisplayMode(mode);
    return Next(EntryKind::SetDisplayMode) ? entry_.flag : set;
}

void ReplayHost::Present(const PresentedPicture& picture) {
    output_.Present(picture);
    std::vector<SoundRequest> sounds;
    sounds.swap(sounds_);
    if (!Next(EntryKind::Frame)) return;
    const std::uint64_t hash = PictureHash(picture);
    if (hash != entry_.frame.pictureHash) {
        Differ("the picture differs (hash " + Hex(hash) + ", recorded " +
               Hex(entry_.frame.pictureHash) + ")");
        return;
    }
    if (sounds != entry_.frame.sounds) {
        Differ("the sound requests differ (" + Describe(sounds) + "; recorded " +
               Describe(entry_.frame.sounds) + ")");
        return;
    }
    ++framesMatched_;
    if (pace_ == Pace::AsRecorded) KeepPace(entry_.frame.milliseconds);
}

bool ReplayHost::ViewerWantsToStop() {
    std::vector<HostEvent> events;
    output_.PollEvents(events);
    for (const HostEvent& event : events) {
        if (event.kind == HostEvent::Kind::CloseRequested) return true;
    }
    std::uint8_t keys[256] = {};
    return output_.ReadKeyboard(keys) && (keys[kScanEscape] & 0x80) != 0;
}

void ReplayHost::KeepPace(std::uint32_t milliseconds) {
    const std::uint32_t now = output_.Milliseconds();
    if (!paceStarted_) {
        paceStarted_ = true;
        paceStart_ = now;
    }
    recordedTime_ += milliseconds;
    for (;;) {
        if (ViewerWantsToStop()) {
            Stop(Outcome::Kind::Stopped,
                 "the viewer stopped the replay after frame " + std::to_string(framesMatched_));
            return;
        }
        const std::uint64_t elapsed = output_.Milliseconds() - paceStart_;
        if (elapsed >= recordedTime_) return;
        const std::uint64_t left = recordedTime_ - elapsed;
        std::this_thread::sleep_for(
            std::chrono::milliseconds(left < kViewerSlice ? left : kViewerSlice));
    }
}

bool ReplayHost::WindowInFront() {
    return Next(EntryKind::InFront) ? entry_.flag : true;
}

bool ReplayHost::ReadKeyboard(std::uint8_t state[256]) {
    if (!Next(EntryKind::Keyboard)) {
        std::memset(state, 0, 256);
        return true;
    }
    if (entry_.flag) std::memcpy(state, entry_.keyboard->data(), entry_.keyboard->size());
    return entry_.flag;
}

bool ReplayHost::ReadMouse(MouseReading& reading) {
    if (!Next(EntryKind::Mouse)) {
        reading = MouseReading{};
        return true;
    }
    if (entry_.flag) reading = entry_.mouse;
    return entry_.flag;
}

bool ReplayHost::JoystickAttached() {
    return Next(EntryKind::JoystickAttached) && entry_.flag;
}

bool ReplayHost::ReadJoystick(std::uint8_t buttons[32]) {
    if (!Next(EntryKind::Joystick)) return false;
    if (entry_.flag) std::memcpy(buttons, entry_.joystick->data(), entry_.joystick->size());
    return entry_.flag;
}

std::int64_t ReplayHost::MillisecondsSinceStop() {
    return static_cast<std::uint32_t>(output_.Milliseconds() - stoppedAt_);
}

std::int64_t ReplayHost::PerformanceCounter() {
    if (Next(EntryKind::Counter)) {
        counter_ = entry_.value;
        return counter_;
    }
    return counter_ + MillisecondsSinceStop() * frequency_ / 1000;
}

std::int64_t ReplayHost::PerformanceFrequency() {
    if (Next(EntryKind::Frequency)) frequency_ = entry_.value;
    return frequency_;
}

std::uint32_t ReplayHost::Milliseconds() {
    if (Next(EntryKind::Milliseconds)) {
        milliseconds_ = static_cast<std::uint32_t>(entry_.value);
        return milliseconds_;
    }
    return milliseconds_ + static_cast<std::uint32_t>(MillisecondsSinceStop());
}

std::int64_t ReplayHost::SecondsSinceEpoch() {
    if (Next(EntryKind::Seconds)) {
        seconds_ = entry_.value;
        return seconds_;
    }
    return seconds_ + MillisecondsSinceStop() / 1000;
}

bool ReplayHost::OpenSound(SoundOutput* output, int* framesPerSecond) {
    if (!Next(EntryKind::OpenSound) || !entry_.flag) return false;
    // The output plays it where it can, at its own rate; what the program reads of the sound
    // comes from the recording either way.
    soundOpen_ = output_.OpenSound(output, framesPerSecond);
    if (!soundOpen_) *framesPerSecond = static_cast<int>(entry_.value);
    return true;
}

void ReplayHost::CloseSound() {
    if (soundOpen_) output_.CloseSound();
    soundOpen_ = false;
}

int ReplayHost::ShowMessageBox(HWND, const char*, const char*, UINT type) {
    if (Next(EntryKind::MessageBox)) return static_cast<int>(entry_.value);
    return (type & MB_YESNO) ? IDYES : IDOK;
}

void ReplayHost::NoteSoundEvent(const SoundEvent& event) {
    FaultsOf(output_).NoteSoundEvent(event);
}

void ReplayHost::NoteSoundRequest(const SoundEvent& event) {
    FaultsOf(output_).NoteSoundRequest(event);
    sounds_.push_back(soundNumbers_.RequestOf(event));
}

DWORD ReplayHost::SoundStatusRead(DWORD status) {
    return Next(EntryKind::SoundStatus) ? static_cast<DWORD>(entry_.value) : status;
}

}  // namespace platform
