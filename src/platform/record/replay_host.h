// SPDX-License-Identifier: MIT
#pragma once

// A host that plays a recording back: every reading the program takes is answered from the
// recording, in the order it was recorded, and every presented picture and the sound requests
// before it are compared with the recorded ones. The pictures, the sound and the window go to
// the host under it: the fake host to check a recording as fast as it runs, the SDL host to
// watch it at its recorded pace. When the program asks for anything else than the recording
// holds next, or shows another picture, the replay stops there and says so; it never guesses.
//
// A replay that stops (a difference, the end of a recording cut short, the viewer closing it)
// asks the program to close and from then on answers as a quiet machine would: no input, the
// window in front, clocks running on from their last recorded values.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/host/fault_hooks.h"
#include "platform/host/host.h"
#include "platform/record/loaded_recording.h"
#include "platform/record/recording_decoder.h"
#include "platform/record/sound_numbers.h"

namespace platform {

class ReplayHost : public Host, public FaultHooks {
public:
    enum class Pace {
        Unpaced,     // as fast as the program runs
        AsRecorded,  // each picture at its recorded time; Escape or a close request stops
    };
    struct Outcome {
        enum class Kind {
            Replaying,
            Ended,     // the program ended where the recording does
            CutShort,  // the recording, cut short, ran out after its last whole picture
            Differed,  // the program did or asked for something else than recorded
            Stopped,   // the viewer stopped it
        };
        Kind kind = Kind::Replaying;
        std::uint64_t frame = 0;  // the picture it happened at, counted from 1
        std::string what;         // what differed, and the program's state then
    };

    // The recording must outlive the host: its decoder reads the recording's entries in place.
    ReplayHost(Host& output, const LoadedRecording& recording, Pace pace);
    ~ReplayHost() override;

    // Describes the program's state, for the report of a difference.
    void DescribeStateWith(std::function<std::string()> describe) {
        describe_ = std::move(describe);
    }
    // The program has ended: the recording must end here too.
    void ProgramEnded();
    const Outcome& Result() const { return outcome_; }
    std::uint64_t FramesMatched() const { return framesMatched_; }

    bool OpenWindow(const char* title, HICON icon) override;
    void ShowWindow() override { output_.ShowWindow(); }
    void CloseWindow() override { output_.CloseWindow(); }
    POINT DesktopSize() override;
    void SetCursorVisible(bool visible) override { output_.SetCursorVisible(visible); }
    void PollEvents(std::vector<HostEvent>& events) override;
    void WaitForEvent() override;
    std::vector<DisplayMode> DisplayModes() override;
    bool SetDisplayMode(const DisplayMode& mode) override;
    void RestoreDisplayMode() override { output_.RestoreDisplayMode(); }
    void WaitForVerticalBlank() override { output_.WaitForVerticalBlank(); }
    void Present(const PresentedPicture& picture) override;
    bool WindowInFront() override;
    bool ReadKeyboard(std::uint8_t state[256]) override;
    bool ReadMouse(MouseReading& reading) override;
    void SetMouseCaptured(bool) override {}
    void SetPointerFree(bool) override {}
    bool JoystickAttached() override;
    bool ReadJoystick(std::uint8_t buttons[32]) override;
    std::int64_t PerformanceCounter() override;
    std::int64_t PerformanceFrequency() override;
    std::uint32_t Milliseconds() override;
    std::int64_t SecondsSinceEpoch() override;
    bool OpenSound(SoundOutput* output, int* framesPerSecond) override;
    void CloseSound() override;
    int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    void DebugOutput(const char* text) override { output_.DebugOutput(text); }

    HRESULT SoundRestoreResult() override { return FaultsOf(output_).SoundRestoreResult(); }
    void NoteSoundEvent(const SoundEvent& event) override;
    void NoteSoundRequest(const SoundEvent& event) override;
    DWORD SoundStatusRead(DWORD status) override;

private:
    // The next entry, which must be of kind; false when the replay has stopped or stops now.
    bool Next(EntryKind kind);
    void Stop(Outcome::Kind kind, std::string what);
    void Differ(std::string what);
    // Waits for the picture's recorded time, watching for the viewer's Escape or close.
    void KeepPace(std::uint32_t milliseconds);
    bool ViewerWantsToStop();
    // Milliseconds the output's clock has run since the replay stopped.
    std::int64_t MillisecondsSinceStop();

    Host& output_;
    Pace pace_;
    RecordingDecoder decoder_;
    Entry entry_;
    Outcome outcome_;
    std::function<std::string()> describe_;
    std::uint64_t framesMatched_ = 0;
    SoundNumbers soundNumbers_;
    std::vector<SoundRequest> sounds_;
    bool closeAsked_ = false;
    bool soundOpen_ = false;

    // The last recorded clocks, which run on from the stop.
    std::int64_t counter_ = 0;
    std::int64_t frequency_ = 1000;
    std::uint32_t milliseconds_ = 0;
    std::int64_t seconds_ = 0;
    std::uint32_t stoppedAt_ = 0;  // the output's milliseconds at the stop

    // The viewer's pace: the output's milliseconds at the first picture, and the recorded time
    // since then.
    bool paceStarted_ = false;
    std::uint32_t paceStart_ = 0;
    std::uint64_t recordedTime_ = 0;
};

}  // namespace platform
