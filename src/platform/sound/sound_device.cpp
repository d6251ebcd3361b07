// SPDX-License-Identifier: MIT
#include "platform/sound/sound_device.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/sound/sound_buffer.h"

namespace platform {
namespace {

// The mixer sums this many frames at a time; the host's periods are a few hundred frames.
constexpr int kMixBlockFrames = 1024;

bool IsValidPcmFormat(const WAVEFORMATEX& format) {
    if (format.wFormatTag != WAVE_FORMAT_PCM) return false;
    if (format.nChannels != 1 && format.nChannels != 2) return false;
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) return false;
    if (format.nBlockAlign != format.nChannels * format.wBitsPerSample / 8) return false;
    if (format.nSamplesPerSec < DSBFREQUENCY_MIN || format.nSamplesPerSec > DSBFREQUENCY_MAX) {
        return false;
    }
    return format.nAvgBytesPerSec == format.nSamplesPerSec * format.nBlockAlign;
}

std::int16_t ToSample16(float value) {
    return static_cast<std::int16_t>(std::clamp(value * 32768.0f, -32768.0f, 32767.0f));
}

}  // namespace

SoundDevice::SoundDevice(Host& host) : host_(&host), mixFrames_(2 * kMixBlockFrames) {}

SoundDevice::~SoundDevice() {
    // Once the host's output is closed no mix runs, so the buffers can be let go unguarded.
    if (outputOpen_) host_->CloseSound();
    for (SoundBuffer* buffer : buffers_) buffer->DetachFromDevice();
}

bool SoundDevice::OpenOutput() {
    int rate = 0;
    if (!host_->OpenSound(this, &rate)) return false;
    outputOpen_ = true;
    if (rate <= 0) return false;
    framesPerSecond_ = rate;
    return true;
}

HRESULT SoundDevice::SetCooperativeLevel(HWND window, DWORD level) {
    if (window == nullptr || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) {
        return DSERR_INVALIDPARAM;
    }
    cooperativeLevel_ = level;
    return DS_OK;
}

HRESULT SoundDevice::CreateSoundBuffer(const DSBUFFERDESC* desc,
                                       std::shared_ptr<SoundBuffer>* buffer) {
    if (desc == nullptr || buffer == nullptr || desc->dwSize != kSoundBufferDescSize) {
        return DSERR_INVALIDPARAM;
    }
    if (cooperativeLevel_ == 0) return DSERR_PRIOLEVELNEEDED;
    // Only secondary buffers are offered: the mix itself is this service's business.
    if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) return DSERR_UNSUPPORTED;
    if (desc->lpwfxFormat == nullptr) return DSERR_INVALIDPARAM;
    if (!IsValidPcmFormat(*desc->lpwfxFormat)) return DSERR_BADFORMAT;
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX) {
        return DSERR_INVALIDPARAM;
    }
    auto samples = std::make_shared<SoundSamples>();
    samples->bytes.reset(new (std::nothrow) std::uint8_t[desc->dwBufferBytes]);
    if (!samples->bytes) return DSERR_OUTOFMEMORY;
    samples->size = desc->dwBufferBytes;
    // New memory holds silence: unsigned 8-bit samples rest at 128.
    std::memset(samples->bytes.get(), desc->lpwfxFormat->wBitsPerSample == 8 ? 0x80 : 0,
                samples->size);
    auto made =
        std::make_shared<SoundBuffer>(*this, *desc->lpwfxFormat, desc->dwFlags, std::move(samples));
    const HRESULT result = Register(made);
    if (result == DS_OK) *buffer = std::move(made);
    return result;
}

HRESULT SoundDevice::DuplicateSoundBuffer(const std::shared_ptr<SoundBuffer>& original,
                                          std::shared_ptr<SoundBuffer>* duplicate) {
    if (original == nullptr || duplicate == nullptr) return DSERR_INVALIDPARAM;
    auto made = std::make_shared<SoundBuffer>(*this, original->format(), original->flags(),
                                              original->samples());
    made->SetPan(original->pan());
    made->SetVolume(original->volume());
    made->SetFrequency(original->frequency());
    const HRESULT result = Register(made);
    if (result == DS_OK) *duplicate = std::move(made);
    return result;
}

HRESULT SoundDevice::Register(const std::shared_ptr<SoundBuffer>& buffer) {
    const std::lock_guard guard(mixLock_);
    try {
        buffers_.push_back(buffer.get());
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    return DS_OK;
}

void SoundDevice::Unregister(SoundBuffer* buffer) {
    const std::lock_guard guard(mixLock_);
    std::erase(buffers_, buffer);
}

void SoundDevice::SetMuted(bool muted) {
    const std::lock_guard guard(mixLock_);
    muted_ = muted;
}

void SoundDevice::Mix(std::int16_t* frames, int count) {
    const std::lock_guard guard(mixLock_);
    while (count > 0) {
        const int block = std::min(count, kMixBlockFrames);
        std::fill_n(mixFrames_.begin(), 2 * block, 0.0f);
        for (SoundBuffer* buffer : buffers_) buffer->MixInto(mixFrames_.data(), block);
        if (muted_) std::fill_n(mixFrames_.begin(), 2 * block, 0.0f);
        for (int i = 0; i < 2 * block; ++i) frames[i] = ToSample16(mixFrames_[i]);
        frames += 2 * block;
        count -= block;
    }
}

void SoundDevice::LoseBuffers() {
    const std::lock_guard guard(mixLock_);
    for (SoundBuffer* buffer : buffers_) buffer->Lose();
}

HRESULT DirectSoundCreate(const GUID* guid, std::shared_ptr<SoundDevice>* device, void* outer) {
    if (device == nullptr) return DSERR_INVALIDPARAM;
    if (outer != nullptr) return DSERR_NOAGGREGATION;
    // Only the default device exists.
    if (guid != nullptr) return DSERR_NODRIVER;
    auto made = std::make_shared<SoundDevice>(CurrentHost());
    if (!made->OpenOutput()) return DSERR_NODRIVER;
    *device = std::move(made);
    return DS_OK;
}

}  // namespace platform
