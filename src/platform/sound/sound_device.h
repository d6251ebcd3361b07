// SPDX-License-Identifier: MIT
#pragma once

// The sound service: one sound device per program, the static buffers made through it, and the
// mixer that sums every playing buffer into the host's output.

#include <memory>
#include <mutex>
#include <vector>

#include "platform/host/host.h"
#include "platform/host/sound_types.h"

namespace platform {

class SoundBuffer;

class SoundDevice : public SoundOutput {
public:
    // Made by DirectSoundCreate, which then opens the host's output for it.
    explicit SoundDevice(Host& host);
    ~SoundDevice() override;
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    HRESULT SetCooperativeLevel(HWND window, DWORD level);
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, std::shared_ptr<SoundBuffer>* buffer);
    // A second buffer on the original's sample memory, with its own play state.
    HRESULT DuplicateSoundBuffer(const std::shared_ptr<SoundBuffer>& original,
                                 std::shared_ptr<SoundBuffer>* duplicate);

    // Silences the whole output at once, or lets it be heard again. Buffers play on while muted,
    // so a sound that is let be heard again is heard from where it has got to.
    void SetMuted(bool muted);

    // SoundOutput: called by the host, on its audio thread for the SDL host.
    void Mix(std::int16_t* frames, int count) override;
    void LoseBuffers() override;

    // Layer-internal: starts the host pulling frames from this device; false without a device.
    bool OpenOutput();
    // Layer-internal: the lock that keeps the mixer and the program's calls apart.
    std::mutex& MixLock() { return mixLock_; }
    Host& host() const { return *host_; }
    int framesPerSecond() const { return framesPerSecond_; }
    void Unregister(SoundBuffer* buffer);

private:
    HRESULT Register(const std::shared_ptr<SoundBuffer>& buffer);

    Host* host_;
    int framesPerSecond_ = 0;
    bool outputOpen_ = false;
    bool muted_ = false;
    DWORD cooperativeLevel_ = 0;
    std::mutex mixLock_;
    std::vector<SoundBuffer*> buffers_;
    std::vector<float> mixFrames_;  // the sum of one block, before it is cut to 16 bits
};

// Creates the sound device of the default device (guid null) on the current host; answers
// DSERR_NODRIVER when the host has no sound device for it.
HRESULT DirectSoundCreate(const GUID* guid, std::shared_ptr<SoundDevice>* device, void* outer);

}  // namespace platform
