// SPDX-License-Identifier: MIT
#pragma once

// A static sound buffer of the sound service: PCM sample memory in the buffer's own format
// (8 or 16 bits, mono or stereo, any rate), played once or looped at a pan, volume and
// frequency of its own. Duplicates share the sample memory and play on their own.

#include <cstdint>
#include <future>
#include <memory>

#include "platform/host/fault_hooks.h"
#include "platform/host/host.h"
#include "platform/host/sound_types.h"

namespace platform {

class SoundDevice;

struct SoundSamples {
    std::unique_ptr<std::uint8_t[]> bytes;
    DWORD size = 0;
    // Counts unlocks, so the mixer knows when its converted copy is out of date.
    std::uint64_t generation = 1;
};

class SoundBuffer {
public:
    // Made by SoundDevice::CreateSoundBuffer and DuplicateSoundBuffer.
    SoundBuffer(SoundDevice& device, const WAVEFORMATEX& format, DWORD flags,
                std::shared_ptr<SoundSamples> samples);
    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    HRESULT GetFormat(WAVEFORMATEX* format);
    HRESULT GetStatus(DWORD* status);
    // Locks bytes from offset (or the whole buffer); a region that runs past the end goes on
    // from the start in the second part.
    HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2,
                 DWORD* bytes2, DWORD flags);
    HRESULT Unlock(void* part1, DWORD bytes1, void* part2, DWORD bytes2);
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags);
    HRESULT Stop();
    HRESULT GetCurrentPosition(DWORD* play, DWORD* write);
    HRESULT SetCurrentPosition(DWORD position);
    HRESULT SetPan(std::int32_t pan);
    HRESULT GetPan(std::int32_t* pan);
    HRESULT SetVolume(std::int32_t volume);
    HRESULT GetVolume(std::int32_t* volume);
    // 0 plays at the buffer's own rate.
    HRESULT SetFrequency(DWORD frequency);
    HRESULT GetFrequency(DWORD* frequency);
    HRESULT Restore();
    // Starts making the mixer's copy of the samples at the present frequency on a thread of its
    // own, from a copy of them taken now, so that the next Play finds it made instead of
    // converting then. Play waits for it and takes it when the samples and frequency are still
    // those it was made from; otherwise Play converts as usual.
    void PrepareVoice();

    // Layer-internal, called by the device with its mix lock held.
    // Adds count frames of this buffer's sound, as 32-bit float stereo, into frames.
    void MixInto(float* frames, int count);
    void Lose();
    void DetachFromDevice() { device_ = nullptr; }
    const WAVEFORMATEX& format() const { return format_; }
    DWORD flags() const { return flags_; }
    const std::shared_ptr<SoundSamples>& samples() const { return samples_; }
    std::int32_t pan() const { return pan_; }
    std::int32_t volume() const { return volume_; }
    DWORD frequency() const { return frequency_; }

private:
    struct Voice;

    DWORD EffectiveFrequency() const;
    DWORD LengthFrames() const;
    DWORD HeardFrame() const;
    bool VoiceIsCurrent() const;
    // Makes the mixer's copy of the samples for the present frequency, without the mix lock;
    // false when there is no memory for it.
    bool ConvertForVoice(std::unique_ptr<Voice>* converted) const;
    // ConvertForVoice's two halves: SDL's conversion set up and the samples copied into the
    // voice's memory, with no lock and no state of the buffer needed after; then the conversion.
    struct Conversion;
    std::unique_ptr<Conversion> StartConversion() const;
    static std::unique_ptr<Voice> FinishConversion(std::unique_ptr<Conversion> conversion);
    // The voice PrepareVoice made, when there is one and it still fits; null otherwise.
    std::unique_ptr<Voice> TakePreparedVoice();
    void StartVoiceAt(DWORD frame);
    void NoteEvent(SoundEvent::Kind kind) const;
    // Tells the host what the program asked for, whatever the buffer was doing: whether it still
    // plays depends on how far the output has pulled it, the request does not.
    void NoteRequest(SoundEvent::Kind kind) const;
    SoundEvent EventOf(SoundEvent::Kind kind) const;

    SoundDevice* device_;
    WAVEFORMATEX format_;
    DWORD flags_;
    std::shared_ptr<SoundSamples> samples_;
    std::int32_t pan_ = 0;
    std::int32_t volume_ = 0;
    DWORD frequency_ = DSBFREQUENCY_ORIGINAL;
    bool playing_ = false;
    bool looping_ = false;
    bool lost_ = false;
    DWORD positionFrame_ = 0;  // where the next play starts, while stopped
    std::unique_ptr<Voice> voice_;
    // Declared last: destroyed first, so a conversion still running ends before the rest goes.
    std::future<std::unique_ptr<Voice>> preparedVoice_;
};

}  // namespace platform
