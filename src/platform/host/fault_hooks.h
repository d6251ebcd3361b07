// SPDX-License-Identifier: MIT
#pragma once

// Faults a test host injects on purpose, what it records of the sound and text services, and
// the sound service's readings a recording host keeps. Only the fake host and the recording
// and replaying hosts implement these; the display, sound and text services ask
// FaultsOf(host), which on a real host answers that nothing is refused.

#include "platform/host/display_types.h"
#include "platform/host/sound_types.h"
#include "platform/host/win_types.h"

namespace platform {

class Host;

// What a surface creation asks for, for hosts that refuse some on purpose.
struct SurfaceRequest {
    DWORD caps = 0;
    int width = 0;
    int height = 0;
    int backBufferCount = 0;
};

// One thing the sound service did to a buffer, told to the host for its records.
struct SoundEvent {
    enum class Kind { Played, Stopped, Finished };
    Kind kind = Kind::Played;
    const void* buffer = nullptr;   // the buffer itself: duplicates differ
    const void* samples = nullptr;  // its sample memory: a buffer and its duplicates share it
    DWORD flags = 0;                // play flags
    std::int32_t pan = 0;
    std::int32_t volume = 0;
    DWORD frequency = 0;  // samples per second, the buffer's own rate or the one set
    DWORD position = 0;   // play position in bytes
};

// One string the text service drew, told to the host for its records: the text as the program
// gave it, trailing blanks included, which no picture shows.
struct TextDrawing {
    bool onPrimary = false;  // onto the display's front buffer, not a back buffer or sheet
    int x = 0;
    int y = 0;
    COLORREF colour = 0;  // 0x00BBGGRR
    const char* text = nullptr;
    int length = 0;
};

class FaultHooks {
public:
    virtual HRESULT DisplayCreationResult() { return DD_OK; }
    virtual HRESULT SurfaceCreationResult(const SurfaceRequest&) { return DD_OK; }
    virtual HRESULT LockResult() { return DD_OK; }
    // A stretched copy with a mirror effect.
    virtual HRESULT MirroredBltResult() { return DD_OK; }
    virtual HRESULT CooperativeLevelResult() { return DD_OK; }
    // Extra bytes at the end of every row of new surfaces.
    virtual int RowPadding() { return 0; }
    virtual HRESULT SoundRestoreResult() { return 0; }
    virtual void NoteSoundEvent(const SoundEvent&) {}
    // A sound the program asked to play or stop, told whatever the buffer was doing (a playing
    // buffer asked to play plays on, and notes no event): what a recording compares.
    virtual void NoteSoundRequest(const SoundEvent&) {}
    // A sound buffer's status as the sound service found it; what the program is told. A host
    // that records the program's readings keeps it, one that replays them answers the kept one.
    virtual DWORD SoundStatusRead(DWORD status) { return status; }
    virtual void NoteTextDrawn(const TextDrawing&) {}

protected:
    ~FaultHooks() = default;
};

// The host's hooks, or a set that refuses nothing and records nothing.
FaultHooks& FaultsOf(const Host& host);
// A host that injects faults installs itself; its context keeps the hooks until it goes.
void InstallFaultHooks(const Host& host, FaultHooks* hooks);

}  // namespace platform
