// SPDX-License-Identifier: MIT
#include "platform/record/recording_host.h"

#include "platform/record/picture_hash.h"

namespace platform {

RecordingHost::RecordingHost(Host& inner) : inner_(inner) {
    InstallFaultHooks(*this, this);
}

RecordingHost::~RecordingHost() = default;

bool RecordingHost::Start(const std::string& path, const RecordingHeader& header,
                          std::string& problem) {
    recording_ = file_.Open(path, RecordingEncoder::Header(header), problem);
    lastPictureMilliseconds_ = inner_.Milliseconds();
    return recording_;
}

bool RecordingHost::Finish(std::string& problem) {
    if (!recording_) {
        problem = "nothing was recorded";
        return false;
    }
    encoder_.End();
    file_.Append(encoder_.Take());
    recording_ = false;
    return file_.Finish(problem);
}

bool RecordingHost::OpenWindow(const char* title, HICON icon) {
    const bool opened = inner_.OpenWindow(title, icon);
    encoder_.OpenWindow(opened);
    return opened;
}

POINT RecordingHost::DesktopSize() {
    const POINT size = inner_.DesktopSize();
    encoder_.DesktopSize(size);
    return size;
}

void RecordingHost::PollEvents(std::vector<HostEvent>& events) {
    std::vector<HostEvent> taken;
    inner_.PollEvents(taken);
    encoder_.Events(taken);
    events.insert(events.end(), taken.begin(), taken.end());
}

void RecordingHost::WaitForEvent() {
    // The wait may be long: the pictures recorded so far go to the file first. The readings
    // since the last picture wait for the next one, as a cut recording ends at its last picture.
    if (recording_) file_.Flush();
    inner_.WaitForEvent();
}

std::vector<DisplayMode> RecordingHost::DisplayModes() {
    std::vector<DisplayMode> modes = inner_.DisplayModes();
    encoder_.DisplayModes(modes);
    return modes;
}

bool RecordingHost::SetDisplayMode(const DisplayMode& mode) {
    const bool set = inner_.SetDisplayMode(mode);
    encoder_.SetDisplayMode(set);
    return set;
}

void RecordingHost::Present(const PresentedPicture& picture) {
    RecordedFrame frame;
    frame.pictureHash = PictureHash(picture);
    const std::uint32_t now = inner_.Milliseconds();
    frame.milliseconds = now - lastPictureMilliseconds_;
    lastPictureMilliseconds_ = now;
    frame.sounds.swap(sounds_);
    encoder_.Frame(frame);
    const std::vector<std::uint8_t> bytes = encoder_.Take();
    if (recording_) file_.Append(bytes);
    inner_.Present(picture);
}

bool RecordingHost::WindowInFront() {
    const bool inFront = inner_.WindowInFront();
    encoder_.InFront(inFront);
    return inFront;
}

bool RecordingHost::ReadKeyboard(std::uint8_t state[256]) {
    const bool read = inner_.ReadKeyboard(state);
    encoder_.Keyboard(read, state);
    return read;
}

bool RecordingHost::ReadMouse(MouseReading& reading) {
    const bool read = inner_.ReadMouse(reading);
    encoder_.Mouse(read, reading);
    return read;
}

bool RecordingHost::JoystickAttached() {
    const bool attached = inner_.JoystickAttached();
    encoder_.JoystickAttached(attached);
    return attached;
}

bool RecordingHost::ReadJoystick(std::uint8_t buttons[32]) {
    const bool read = inner_.ReadJoystick(buttons);
    encoder_.Joystick(read, buttons);
    return read;
}

std::int64_t RecordingHost::PerformanceCounter() {
    const std::int64_t count = inner_.PerformanceCounter();
    encoder_.Counter(count);
    return count;
}

std::int64_t RecordingHost::PerformanceFrequency() {
    const std::int64_t frequency = inner_.PerformanceFrequency();
    encoder_.Frequency(frequency);
    return frequency;
}

std::uint32_t RecordingHost::Milliseconds() {
    const std::uint32_t milliseconds = inner_.Milliseconds();
    encoder_.Milliseconds(milliseconds);
    return milliseconds;
}

std::int64_t RecordingHost::SecondsSinceEpoch() {
    const std::int64_t seconds = inner_.SecondsSinceEpoch();
    encoder_.Seconds(seconds);
    return seconds;
}

bool RecordingHost::OpenSound(SoundOutput* output, int* framesPerSecond) {
    const bool opened = inner_.OpenSound(output, framesPerSecond);
    encoder_.OpenSound(opened, opened ? *framesPerSecond : 0);
    return opened;
}

int RecordingHost::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    const int answer = inner_.ShowMessageBox(owner, text, caption, type);
    encoder_.MessageBox(answer);
    return answer;
}

void RecordingHost::NoteSoundEvent(const SoundEvent& event) {
    // What the buffers did (a sound finishing is told from the output's own thread) depends on
    // the output's pace: not recorded.
    Faults().NoteSoundEvent(event);
}

void RecordingHost::NoteSoundRequest(const SoundEvent& event) {
    Faults().NoteSoundRequest(event);
    sounds_.push_back(soundNumbers_.RequestOf(event));
}

DWORD RecordingHost::SoundStatusRead(DWORD status) {
    const DWORD read = Faults().SoundStatusRead(status);
    encoder_.SoundStatus(read);
    return read;
}

}  // namespace platform
