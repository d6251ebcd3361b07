// SPDX-License-Identifier: MIT
#pragma once

// The fake host: a deterministic machine for tests. Its clock is virtual and advances 1/60 s
// at every vertical blank, so thousands of frames run in seconds; host events are scripted;
// every presented picture, message box and debugger line is recorded, and the strings drawn
// when asked; faults can be injected.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/host/fault_hooks.h"
#include "platform/host/host.h"

namespace platform {

class FakeHost : public Host, public FaultHooks {
public:
    struct Picture {
        std::uint64_t blank = 0;  // the vertical blank it was shown at
        int width = 0;
        int height = 0;
        int depth = 0;  // 8, 15, 16, 24 or 32
        int bytesPerPixel = 0;
        std::vector<std::uint8_t> pixels;  // rows packed without padding
        std::uint32_t PixelAt(int x, int y) const;
    };
    // Something the sound service did, stamped with the blank and the virtual milliseconds.
    struct SoundRecord {
        std::uint64_t blank = 0;
        std::uint32_t milliseconds = 0;
        SoundEvent event;
    };
    // A string the text service drew, stamped with the blank.
    struct TextRecord {
        std::uint64_t blank = 0;
        bool onPrimary = false;
        int x = 0;
        int y = 0;
        COLORREF colour = 0;
        std::string text;
    };
    struct MessageBoxRecord {
        HWND owner = nullptr;
        std::string text;
        std::string caption;
        UINT type = 0;
        int answer = 0;
    };

    FakeHost();
    ~FakeHost() override;

    // Configuration.
    void SetDisplayModes(std::vector<DisplayMode> modes) { modes_ = std::move(modes); }
    void SetRowPadding(int bytes) { rowPadding_ = bytes; }
    void SetDesktopSize(POINT size) { desktop_ = size; }
    void RefuseDisplayCreation(HRESULT code) { displayCreationResult_ = code; }
    void RefuseCooperativeLevel(HRESULT code) { cooperativeLevelResult_ = code; }
    void SetSurfaceCreationRule(std::function<HRESULT(const SurfaceRequest&)> rule) {
        surfaceRule_ = std::move(rule);
    }
    // The next count locks answer code.
    void RefuseLocks(int count, HRESULT code) {
        refusedLocks_ = count;
        lockRefusal_ = code;
    }
    // Every copy with a mirror effect answers code, as on hardware that cannot mirror;
    // DD_OK mirrors again.
    void RefuseMirroredBlts(HRESULT code) { mirroredBltRefusal_ = code; }
    void RefuseWindow(bool refuse) { refuseWindow_ = refuse; }
    // Message-box answers, used in order; when none is left, OK and Yes.
    void AnswerMessageBoxes(std::deque<int> answers) { answers_ = std::move(answers); }
    // Sound: no sound device at all, a restore of lost buffers that fails with code, and the
    // mixed output from now on kept (16-bit stereo at kSoundRate) rather than only counted.
    void RemoveSoundDevice() { soundDevicePresent_ = false; }
    void RefuseSoundRestore(HRESULT code) { soundRestoreResult_ = code; }
    void KeepSound(bool keep) {
        keepSound_ = keep;
        mixedSound_.clear();
    }
    // The strings drawn from now on kept (KeptText), starting from none, or no longer kept.
    // Off by default: a long run draws thousands of strings.
    void KeepText(bool keep) {
        keepText_ = keep;
        if (keep) keptText_.clear();
    }
    // A test that runs away is stopped: past this many blanks the process aborts with a note.
    void SetBlankLimit(std::uint64_t limit) { blankLimit_ = limit; }
    // Pictures whose pixels are kept (the newest ones); all of them are counted.
    void SetPicturesKept(std::size_t count) { picturesKept_ = count; }

    // Scripting.
    // An event the window system sends now. As on a real desktop, the program learns of it only
    // when it next takes in the window system's news (polls or waits for events, or reads the
    // keyboard or mouse): a focus event moves the window in or out of the front then, not
    // before, and until then the event is not among the polled ones.
    void QueueEvent(HostEvent::Kind kind) { sent_.push_back(HostEvent{kind}); }
    // Input: keys by set-1 scan code, mouse motion (added up until the next reading), buttons.
    void SetKey(int scanCode, bool down) { keyboard_[scanCode & 0xFF] = down ? 0x80 : 0; }
    void MoveMouse(std::int32_t dx, std::int32_t dy) {
        mouseDx_ += dx;
        mouseDy_ += dy;
    }
    void SetMouseButton(int button, bool down) { mouseButtons_[button & 3] = down ? 0x80 : 0; }
    void AttachJoystick(bool attached) { joystickAttached_ = attached; }
    void SetJoystickButton(int button, bool down) {
        joystickButtons_[button & 31] = down ? 0x80 : 0;
    }
    void SetInFront(bool inFront) { inFront_ = inFront; }
    // The next count keyboard readings fail.
    void FailKeyboardReads(int count) { failedKeyboardReads_ = count; }
    bool MouseCaptured() const { return mouseCaptured_; }
    bool PointerFree() const { return pointerFree_; }
    // Runs action when the display reaches blank (once).
    void AtBlank(std::uint64_t blank, std::function<void(FakeHost&)> action);
    // Runs action at every blank from now on, after the actions due at that blank; a driver
    // that plays the program (a scripted player) hooks in here. An empty action removes it.
    void AtEveryBlank(std::function<void(FakeHost&)> action) { everyBlank_ = std::move(action); }
    // The time of day at virtual time 0, in seconds since 1970: what a program that seeds its
    // random numbers with the time of day will draw.
    void SetTimeOfDay(std::int64_t seconds) { startSeconds_ = seconds; }
    // Takes the display away now, as when the window loses the foreground in full screen.
    void LoseDisplay();
    // Takes the sound memory away: every buffer stops and answers that it is lost.
    void LoseSoundBuffers();
    void AdvanceMilliseconds(std::int64_t milliseconds);

    // Records.
    std::uint64_t Blank() const { return blank_; }
    std::uint64_t PictureCount() const { return pictureCount_; }
    const std::deque<Picture>& Pictures() const { return pictures_; }
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return messageBoxes_; }
    const std::vector<std::string>& DebugLines() const { return debugLines_; }
    const std::vector<SoundRecord>& SoundRecords() const { return soundRecords_; }
    const std::vector<TextRecord>& KeptText() const { return keptText_; }
    // Events sent by the window system that the program has not polled yet.
    std::size_t EventsNotTaken() const { return sent_.size() + events_.size(); }
    bool SoundOpen() const { return soundOutput_ != nullptr; }
    std::uint64_t SoundFramesMixed() const { return soundFramesMixed_; }
    const std::vector<std::int16_t>& MixedSound() const { return mixedSound_; }
    bool WindowOpen() const { return windowOpen_; }
    bool WindowShown() const { return windowShown_; }
    bool CursorVisible() const { return cursorVisible_; }
    HICON WindowIcon() const { return windowIcon_; }
    std::string WindowTitle() const { return windowTitle_; }
    const DisplayMode& CurrentMode() const { return currentMode_; }
    bool ModeRestored() const { return modeRestored_; }

    // Host.
    bool OpenWindow(const char* title, HICON icon) override;
    void ShowWindow() override { windowShown_ = true; }
    void CloseWindow() override { windowOpen_ = false; }
    POINT DesktopSize() override { return desktop_; }
    void SetCursorVisible(bool visible) override { cursorVisible_ = visible; }
    void PollEvents(std::vector<HostEvent>& events) override;
    void WaitForEvent() override;
    std::vector<DisplayMode> DisplayModes() override { return modes_; }
    bool SetDisplayMode(const DisplayMode& mode) override;
    void RestoreDisplayMode() override { modeRestored_ = true; }
    void WaitForVerticalBlank() override;
    void Present(const PresentedPicture& picture) override;
    bool WindowInFront() override { return inFront_; }
    bool ReadKeyboard(std::uint8_t state[256]) override;
    bool ReadMouse(MouseReading& reading) override;
    void SetMouseCaptured(bool captured) override { mouseCaptured_ = captured; }
    void SetPointerFree(bool free) override { pointerFree_ = free; }
    bool JoystickAttached() override { return joystickAttached_; }
    bool ReadJoystick(std::uint8_t buttons[32]) override;
    HRESULT DisplayCreationResult() override { return displayCreationResult_; }
    HRESULT SurfaceCreationResult(const SurfaceRequest& request) override;
    HRESULT LockResult() override;
    HRESULT MirroredBltResult() override { return mirroredBltRefusal_; }
    HRESULT CooperativeLevelResult() override { return cooperativeLevelResult_; }
    int RowPadding() override { return rowPadding_; }
    std::int64_t PerformanceCounter() override;
    std::int64_t PerformanceFrequency() override { return kCounterFrequency; }
    std::uint32_t Milliseconds() override;
    std::int64_t SecondsSinceEpoch() override;
    bool OpenSound(SoundOutput* output, int* framesPerSecond) override;
    void CloseSound() override { soundOutput_ = nullptr; }
    HRESULT SoundRestoreResult() override { return soundRestoreResult_; }
    void NoteSoundEvent(const SoundEvent& event) override;
    void NoteTextDrawn(const TextDrawing& drawing) override;
    int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    void DebugOutput(const char* text) override { debugLines_.emplace_back(text); }

    static constexpr std::int64_t kCounterFrequency = 10'000'000;  // 100 ns counts
    static constexpr std::int64_t kStartSeconds = 1'700'000'000;   // the default time of day

private:
    // Takes in what the window system sent since the last time, as SDL's event pump does: the
    // window's focus state changes and the events wait to be polled.
    void PumpEvents();
    void RunBlankActions();
    // Mixes the sound output up to the present virtual time.
    void MixSoundToNow();

    std::vector<DisplayMode> modes_;
    DisplayMode currentMode_;
    bool modeRestored_ = false;
    POINT desktop_{1920, 1080};
    int rowPadding_ = 0;
    HRESULT displayCreationResult_ = 0;
    HRESULT cooperativeLevelResult_ = 0;
    std::function<HRESULT(const SurfaceRequest&)> surfaceRule_;
    int refusedLocks_ = 0;
    HRESULT lockRefusal_ = 0;
    HRESULT mirroredBltRefusal_ = 0;
    bool refuseWindow_ = false;
    std::deque<int> answers_;
    std::uint64_t blankLimit_ = 1'000'000;
    std::size_t picturesKept_ = 4;

    std::vector<HostEvent> sent_;    // sent by the window system, not yet taken in
    std::vector<HostEvent> events_;  // taken in, waiting to be polled
    std::uint8_t keyboard_[256] = {};
    std::int32_t mouseDx_ = 0;
    std::int32_t mouseDy_ = 0;
    std::uint8_t mouseButtons_[4] = {};
    bool joystickAttached_ = false;
    std::uint8_t joystickButtons_[32] = {};
    bool inFront_ = true;
    int failedKeyboardReads_ = 0;
    bool mouseCaptured_ = false;
    bool pointerFree_ = false;
    std::multimap<std::uint64_t, std::function<void(FakeHost&)>> blankActions_;
    std::function<void(FakeHost&)> everyBlank_;
    std::uint64_t everyBlankDone_ = 0;  // the blank the every-blank action last ran at
    std::int64_t startSeconds_ = kStartSeconds;

    std::int64_t nowNanoseconds_ = 0;
    std::uint64_t blank_ = 0;
    std::uint64_t pictureCount_ = 0;
    std::deque<Picture> pictures_;
    std::vector<MessageBoxRecord> messageBoxes_;
    std::vector<std::string> debugLines_;
    bool windowOpen_ = false;
    bool windowShown_ = false;
    bool cursorVisible_ = true;
    HICON windowIcon_ = nullptr;
    std::string windowTitle_;

    bool soundDevicePresent_ = true;
    HRESULT soundRestoreResult_ = 0;
    bool keepSound_ = false;
    SoundOutput* soundOutput_ = nullptr;
    std::uint64_t soundFramesMixed_ = 0;  // frames of output mixed since the virtual time 0
    std::vector<std::int16_t> mixedSound_;
    std::vector<SoundRecord> soundRecords_;

    bool keepText_ = false;
    std::vector<TextRecord> keptText_;
};

}  // namespace platform
