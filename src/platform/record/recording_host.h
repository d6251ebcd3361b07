// SPDX-License-Identifier: MIT
#pragma once

// A host that records a run: it passes every call to the host under it and writes down every
// answer that can differ between two runs (clocks, the time of day, input, the window events
// taken, the front, message-box answers, the sound device, the display modes, the sound
// service's status readings) in the order the program takes them, and for every presented
// picture its hash and the sound requests made since the picture before. Faults and records of
// the host under it stay its own: the fault hooks are passed through too.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/host/fault_hooks.h"
#include "platform/host/host.h"
#include "platform/record/recording_encoder.h"
#include "platform/record/recording_file.h"
#include "platform/record/sound_numbers.h"

namespace platform {

class RecordingHost : public Host, public FaultHooks {
public:
    explicit RecordingHost(Host& inner);
    ~RecordingHost() override;

    // Starts the recording in a new file that becomes path when it ends.
    bool Start(const std::string& path, const RecordingHeader& header, std::string& problem);
    // Records the program's end and gives the file its name.
    bool Finish(std::string& problem);

    bool OpenWindow(const char* title, HICON icon) override;
    void ShowWindow() override { inner_.ShowWindow(); }
    void CloseWindow() override { inner_.CloseWindow(); }
    POINT DesktopSize() override;
    void SetCursorVisible(bool visible) override { inner_.SetCursorVisible(visible); }
    void PollEvents(std::vector<HostEvent>& events) override;
    void WaitForEvent() override;
    std::vector<DisplayMode> DisplayModes() override;
    bool SetDisplayMode(const DisplayMode& mode) override;
    void RestoreDisplayMode() override { inner_.RestoreDisplayMode(); }
    void WaitForVerticalBlank() override { inner_.WaitForVerticalBlank(); }
    void Present(const PresentedPicture& picture) override;
    bool WindowInFront() override;
    bool ReadKeyboard(std::uint8_t state[256]) override;
    bool ReadMouse(MouseReading& reading) override;
    void SetMouseCaptured(bool captured) override { inner_.SetMouseCaptured(captured); }
    void SetPointerFree(bool free) override { inner_.SetPointerFree(free); }
    bool JoystickAttached() override;
    bool ReadJoystick(std::uint8_t buttons[32]) override;
    std::int64_t PerformanceCounter() override;
    std::int64_t PerformanceFrequency() override;
    std::uint32_t Milliseconds() override;
    std::int64_t SecondsSinceEpoch() override;
    bool OpenSound(SoundOutput* output, int* framesPerSecond) override;
    void CloseSound() override { inner_.CloseSound(); }
    int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    void DebugOutput(const char* text) override { inner_.DebugOutput(text); }

    HRESULT DisplayCreationResult() override { return Faults().DisplayCreationResult(); }
    HRESULT SurfaceCreationResult(const SurfaceRequest& request) override {
        return Faults().SurfaceCreationResult(request);
    }
    HRESULT LockResult() override { return Faults().LockResult(); }
    HRESULT MirroredBltResult() override { return Faults().MirroredBltResult(); }
    HRESULT CooperativeLevelResult() override { return Faults().CooperativeLevelResult(); }
    int RowPadding() override { return Faults().RowPadding(); }
    HRESULT SoundRestoreResult() override { return Faults().SoundRestoreResult(); }
    void NoteSoundEvent(const SoundEvent& event) override;
    void NoteSoundRequest(const SoundEvent& event) override;
    DWORD SoundStatusRead(DWORD status) override;

private:
    FaultHooks& Faults() { return FaultsOf(inner_); }

    Host& inner_;
    RecordingEncoder encoder_;
    RecordingFile file_;
    bool recording_ = false;
    SoundNumbers soundNumbers_;
    std::vector<SoundRequest> sounds_;  // requested since the last picture
    std::uint32_t lastPictureMilliseconds_ = 0;
};

}  // namespace platform
