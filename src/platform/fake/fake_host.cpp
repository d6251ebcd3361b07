// SPDX-License-Identifier: MIT
#include "platform/fake/fake_host.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/display/pixel_blits.h"
#include "platform/display/pixel_format.h"
#include "platform/host/platform_context.h"

namespace platform {
namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;

// The time blank number `blank` begins: blanks fall at exact multiples of 1/60 s.
std::int64_t BlankTime(std::uint64_t blank) {
    const std::int64_t b = static_cast<std::int64_t>(blank);
    return (b * kNanosecondsPerSecond + kRefreshRate - 1) / kRefreshRate;
}

}  // namespace

std::uint32_t FakeHost::Picture::PixelAt(int x, int y) const {
    const std::size_t offset = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                static_cast<std::size_t>(x)) *
                               static_cast<std::size_t>(bytesPerPixel);
    return ReadPixel(pixels.data() + offset, bytesPerPixel);
}

FakeHost::FakeHost() {
    // The SDL host's modes, so that the program sees the same list on either host; a test that
    // needs a narrower one sets it (SetDisplayModes).
    modes_ = OfferedDisplayModes();
    InstallFaultHooks(*this, this);
}

FakeHost::~FakeHost() = default;

void FakeHost::LoseDisplay() {
    LoseVideoMemory(*this);
}

bool FakeHost::OpenWindow(const char* title, HICON icon) {
    if (refuseWindow_) return false;
    windowOpen_ = true;
    windowTitle_ = title;
    windowIcon_ = icon;
    return true;
}

void FakeHost::PumpEvents() {
    for (const HostEvent& event : sent_) {
        if (event.kind == HostEvent::Kind::FocusLost) inFront_ = false;
        if (event.kind == HostEvent::Kind::FocusGained) inFront_ = true;
        events_.push_back(event);
    }
    sent_.clear();
}

bool FakeHost::ReadKeyboard(std::uint8_t state[256]) {
    PumpEvents();
    if (failedKeyboardReads_ > 0) {
        --failedKeyboardReads_;
        return false;
    }
    std::memcpy(state, keyboard_, sizeof(keyboard_));
    return true;
}

bool FakeHost::ReadMouse(MouseReading& reading) {
    PumpEvents();
    reading.dx = mouseDx_;
    reading.dy = mouseDy_;
    reading.wheel = 0;
    std::memcpy(reading.buttons, mouseButtons_, sizeof(mouseButtons_));
    mouseDx_ = 0;
    mouseDy_ = 0;
    return true;
}

bool FakeHost::ReadJoystick(std::uint8_t buttons[32]) {
    if (!joystickAttached_) return false;
    std::memcpy(buttons, joystickButtons_, sizeof(joystickButtons_));
    return true;
}

void FakeHost::PollEvents(std::vector<HostEvent>& events) {
    PumpEvents();
    events.insert(events.end(), events_.begin(), events_.end());
    events_.clear();
}

void FakeHost::WaitForEvent() {
    // Nothing happens on a fake machine unless time passes: let the next blank come.
    PumpEvents();
    if (events_.empty()) WaitForVerticalBlank();
    PumpEvents();
}

bool FakeHost::SetDisplayMode(const DisplayMode& mode) {
    currentMode_ = mode;
    modeRestored_ = false;
    return true;
}

void FakeHost::AtBlank(std::uint64_t blank, std::function<void(FakeHost&)> action) {
    blankActions_.emplace(blank, std::move(action));
}

void FakeHost::RunBlankActions() {
    while (!blankActions_.empty() && blankActions_.begin()->first <= blank_) {
        auto action = std::move(blankActions_.begin()->second);
        blankActions_.erase(blankActions_.begin());
        action(*this);
    }
    if (everyBlank_ && blank_ != everyBlankDone_) {
        everyBlankDone_ = blank_;
        everyBlank_(*this);
    }
}

void FakeHost::WaitForVerticalBlank() {
    const std::uint64_t next =
        static_cast<std::uint64_t>(nowNanoseconds_ * kRefreshRate / kNanosecondsPerSecond) + 1;
    blank_ = next;
    nowNanoseconds_ = BlankTime(next);
    MixSoundToNow();
    if (blank_ > blankLimit_) {
        std::fprintf(stderr, "fake host: more than %llu blanks, the program under test runs away\n",
                     static_cast<unsigned long long>(blankLimit_));
        std::abort();
    }
    RunBlankActions();
}

void FakeHost::AdvanceMilliseconds(std::int64_t milliseconds) {
    nowNanoseconds_ += milliseconds * 1'000'000;
    blank_ = static_cast<std::uint64_t>(nowNanoseconds_ * kRefreshRate / kNanosecondsPerSecond);
    MixSoundToNow();
    RunBlankActions();
}

void FakeHost::Present(const PresentedPicture& picture) {
    ++pictureCount_;
    if (picturesKept_ == 0) return;
    Picture kept;
    kept.blank = blank_;
    kept.width = picture.width;
    kept.height = picture.height;
    kept.depth = DepthOfPixelFormat(picture.format);
    kept.bytesPerPixel = BytesPerPixel(picture.format.dwRGBBitCount);
    const std::size_t rowBytes =
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(kept.bytesPerPixel);
    kept.pixels.resize(rowBytes * static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(kept.pixels.data() + rowBytes * static_cast<std::size_t>(y),
                    picture.pixels + static_cast<std::ptrdiff_t>(y) * picture.pitch, rowBytes);
    }
    pictures_.push_back(std::move(kept));
    while (pictures_.size() > picturesKept_) pictures_.pop_front();
}

HRESULT FakeHost::SurfaceCreationResult(const SurfaceRequest& request) {
    return surfaceRule_ ? surfaceRule_(request) : DD_OK;
}

HRESULT FakeHost::LockResult() {
    if (refusedLocks_ <= 0) return DD_OK;
    --refusedLocks_;
    return lockRefusal_;
}

std::int64_t FakeHost::PerformanceCounter() {
    return nowNanoseconds_ / (kNanosecondsPerSecond / kCounterFrequency);
}

std::uint32_t FakeHost::Milliseconds() {
    return static_cast<std::uint32_t>(nowNanoseconds_ / 1'000'000);
}

std::int64_t FakeHost::SecondsSinceEpoch() {
    return startSeconds_ + nowNanoseconds_ / kNanosecondsPerSecond;
}

bool FakeHost::OpenSound(SoundOutput* output, int* framesPerSecond) {
    if (!soundDevicePresent_ || soundOutput_ != nullptr) return false;
    soundOutput_ = output;
    *framesPerSecond = kSoundRate;
    // The output starts now: nothing is owed for the time before it was opened.
    soundFramesMixed_ =
        static_cast<std::uint64_t>(nowNanoseconds_ * kSoundRate / kNanosecondsPerSecond);
    mixedSound_.clear();
    return true;
}

void FakeHost::MixSoundToNow() {
    if (soundOutput_ == nullptr) return;
    const auto due =
        static_cast<std::uint64_t>(nowNanoseconds_ * kSoundRate / kNanosecondsPerSecond);
    if (due <= soundFramesMixed_) return;
    const auto count = static_cast<int>(due - soundFramesMixed_);
    if (keepSound_) {
        const std::size_t start = mixedSound_.size();
        mixedSound_.resize(start + 2 * static_cast<std::size_t>(count));
        soundOutput_->Mix(mixedSound_.data() + start, count);
    } else {
        std::vector<std::int16_t> discarded(2 * static_cast<std::size_t>(count));
        soundOutput_->Mix(discarded.data(), count);
    }
    soundFramesMixed_ = due;
}

void FakeHost::LoseSoundBuffers() {
    if (soundOutput_ != nullptr) soundOutput_->LoseBuffers();
}

void FakeHost::NoteSoundEvent(const SoundEvent& event) {
    soundRecords_.push_back(SoundRecord{blank_, Milliseconds(), event});
}

void FakeHost::NoteTextDrawn(const TextDrawing& drawing) {
    if (!keepText_) return;
    keptText_.push_back(
        TextRecord{blank_, drawing.onPrimary, drawing.x, drawing.y, drawing.colour,
                   std::string(drawing.text, static_cast<std::size_t>(drawing.length))});
}

int FakeHost::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    int answer = (type & MB_YESNO) ? IDYES : IDOK;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    messageBoxes_.push_back(MessageBoxRecord{owner, text, caption, type, answer});
    return answer;
}

}  // namespace platform
