// SPDX-License-Identifier: MIT
#include "platform/sound/sound_buffer.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <system_error>

#include "platform/host/threads.h"
#include "platform/sound/sound_device.h"

namespace platform {
namespace {

// Hundredths of a decibel to an amplitude factor; the bottom of the range is silence.
float Attenuation(std::int32_t hundredthsOfDecibel) {
    if (hundredthsOfDecibel <= DSBVOLUME_MIN) return 0.0f;
    return static_cast<float>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

}  // namespace

// The mixer's copy of a buffer's samples: the whole sound converted by SDL to float stereo at
// the output rate, as played at one frequency.
struct SoundBuffer::Voice {
    std::unique_ptr<float[]> frames;
    std::size_t frameCount = 0;
    DWORD frequency = 0;
    std::uint64_t generation = 0;  // of the samples it was made from
    std::size_t cursor = 0;        // the next output frame to mix
};

SoundBuffer::SoundBuffer(SoundDevice& device, const WAVEFORMATEX& format, DWORD flags,
                         std::shared_ptr<SoundSamples> samples)
    : device_(&device),
      format_(format),
      flags_(flags),
      samples_(std::move(samples)),
      voice_(std::make_unique<Voice>()) {}

SoundBuffer::~SoundBuffer() {
    if (device_ != nullptr) device_->Unregister(this);
}

DWORD SoundBuffer::EffectiveFrequency() const {
    return frequency_ != DSBFREQUENCY_ORIGINAL ? frequency_ : format_.nSamplesPerSec;
}

// Only whole frames play; a ragged end of the memory is never heard.
DWORD SoundBuffer::LengthFrames() const {
    return samples_->size / format_.nBlockAlign;
}

// The source frame being heard, from the mixer's place in the converted copy.
DWORD SoundBuffer::HeardFrame() const {
    if (!playing_) return positionFrame_;
    const std::uint64_t frame = voice_->cursor * static_cast<std::uint64_t>(voice_->frequency) /
                                static_cast<std::uint64_t>(device_->framesPerSecond());
    return static_cast<DWORD>(std::min<std::uint64_t>(frame, LengthFrames() - 1));
}

bool SoundBuffer::VoiceIsCurrent() const {
    return voice_->frames != nullptr && voice_->frequency == EffectiveFrequency() &&
           voice_->generation == samples_->generation;
}

// SDL's conversion of one buffer's samples, set up and holding its own copy of them.
struct SoundBuffer::Conversion {
    SDL_AudioCVT cvt;
    std::unique_ptr<Voice> voice;
};

std::unique_ptr<SoundBuffer::Conversion> SoundBuffer::StartConversion() const {
    const DWORD frequency = EffectiveFrequency();
    auto conversion = std::unique_ptr<Conversion>(new (std::nothrow) Conversion);
    if (!conversion) return nullptr;
    SDL_AudioCVT& cvt = conversion->cvt;
    const SDL_AudioFormat source = format_.wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    if (SDL_BuildAudioCVT(&cvt, source, static_cast<Uint8>(format_.nChannels),
                          static_cast<int>(frequency), AUDIO_F32SYS, 2,
                          device_->framesPerSecond()) < 0) {
        return nullptr;
    }
    // SDL converts in place in a buffer len_mult times the source; both must fit its int.
    const std::uint64_t length = static_cast<std::uint64_t>(LengthFrames()) * format_.nBlockAlign;
    const std::uint64_t working = length * static_cast<std::uint64_t>(std::max(cvt.len_mult, 1));
    if (working > static_cast<std::uint64_t>(std::numeric_limits<int>::max())) return nullptr;
    auto voice = std::unique_ptr<Voice>(new (std::nothrow) Voice);
    if (!voice) return nullptr;
    voice->frames.reset(new (std::nothrow) float[(working + sizeof(float) - 1) / sizeof(float)]);
    if (!voice->frames) return nullptr;
    voice->frequency = frequency;
    voice->generation = samples_->generation;
    cvt.buf = reinterpret_cast<Uint8*>(voice->frames.get());
    cvt.len = static_cast<int>(length);
    std::memcpy(cvt.buf, samples_->bytes.get(), length);
    conversion->voice = std::move(voice);
    return conversion;
}

std::unique_ptr<SoundBuffer::Voice> SoundBuffer::FinishConversion(
    std::unique_ptr<Conversion> conversion) {
    if (!conversion || SDL_ConvertAudio(&conversion->cvt) < 0) return nullptr;
    conversion->voice->frameCount =
        static_cast<std::size_t>(conversion->cvt.len_cvt) / (2 * sizeof(float));
    return std::move(conversion->voice);
}

bool SoundBuffer::ConvertForVoice(std::unique_ptr<Voice>* converted) const {
    std::unique_ptr<Voice> voice = FinishConversion(StartConversion());
    if (!voice) return false;
    *converted = std::move(voice);
    return true;
}

void SoundBuffer::PrepareVoice() {
    if (!kThreadsAvailable || device_ == nullptr || preparedVoice_.valid() || VoiceIsCurrent()) {
        return;
    }
    std::unique_ptr<Conversion> conversion = StartConversion();
    if (!conversion) return;
    try {
        preparedVoice_ =
            std::async(std::launch::async, [conversion = std::move(conversion)]() mutable {
                return FinishConversion(std::move(conversion));
            });
    } catch (const std::system_error&) {
        // Without a thread the next Play converts as usual.
    }
}

std::unique_ptr<SoundBuffer::Voice> SoundBuffer::TakePreparedVoice() {
    if (!preparedVoice_.valid()) return nullptr;
    std::unique_ptr<Voice> prepared = preparedVoice_.get();
    if (prepared && prepared->frequency == EffectiveFrequency() &&
        prepared->generation == samples_->generation) {
        return prepared;
    }
    return nullptr;
}

void SoundBuffer::StartVoiceAt(DWORD frame) {
    voice_->cursor = static_cast<std::size_t>(
        static_cast<std::uint64_t>(frame) * static_cast<std::uint64_t>(device_->framesPerSecond()) /
        voice_->frequency);
}

void SoundBuffer::MixInto(float* frames, int count) {
    if (!playing_) return;
    const float volume = Attenuation(volume_);
    const float left = volume * (pan_ > 0 ? Attenuation(-pan_) : 1.0f);
    const float right = volume * (pan_ < 0 ? Attenuation(pan_) : 1.0f);
    const float* source = voice_->frames.get();
    const std::size_t total = voice_->frameCount;
    std::size_t done = 0;
    const auto wanted = static_cast<std::size_t>(count);
    while (done < wanted && total != 0) {
        if (voice_->cursor >= total) {
            if (!looping_) break;
            voice_->cursor = 0;
        }
        const std::size_t run = std::min(wanted - done, total - voice_->cursor);
        const float* from = source + 2 * voice_->cursor;
        float* to = frames + 2 * done;
        for (std::size_t i = 0; i < run; ++i) {
            to[2 * i] += from[2 * i] * left;
            to[2 * i + 1] += from[2 * i + 1] * right;
        }
        voice_->cursor += run;
        done += run;
    }
    if (!looping_ && voice_->cursor >= total) {
        // A sound played to its end rests at its start, ready to play again.
        playing_ = false;
        positionFrame_ = 0;
        NoteEvent(SoundEvent::Kind::Finished);
    }
}

void SoundBuffer::Lose() {
    positionFrame_ = HeardFrame();
    playing_ = false;
    lost_ = true;
}

SoundEvent SoundBuffer::EventOf(SoundEvent::Kind kind) const {
    SoundEvent event;
    event.kind = kind;
    event.buffer = this;
    event.samples = samples_.get();
    event.flags = looping_ ? DSBPLAY_LOOPING : 0;
    event.pan = pan_;
    event.volume = volume_;
    event.frequency = EffectiveFrequency();
    event.position = HeardFrame() * format_.nBlockAlign;
    return event;
}

void SoundBuffer::NoteEvent(SoundEvent::Kind kind) const {
    FaultsOf(device_->host()).NoteSoundEvent(EventOf(kind));
}

void SoundBuffer::NoteRequest(SoundEvent::Kind kind) const {
    FaultsOf(device_->host()).NoteSoundRequest(EventOf(kind));
}

HRESULT SoundBuffer::GetFormat(WAVEFORMATEX* format) {
    if (format == nullptr) return DSERR_INVALIDPARAM;
    *format = format_;
    return DS_OK;
}

HRESULT SoundBuffer::GetStatus(DWORD* status) {
    if (status == nullptr) return DSERR_INVALIDPARAM;
    if (device_ == nullptr) return DSERR_UNINITIALIZED;
    const std::lock_guard guard(device_->MixLock());
    DWORD bits = 0;
    if (playing_) bits |= DSBSTATUS_PLAYING | (looping_ ? DSBSTATUS_LOOPING : 0);
    if (lost_) bits |= DSBSTATUS_BUFFERLOST;
    // Whether a sound still plays depends on how far the output has pulled it: a reading of the
    // machine, which a recording host keeps.
    *status = FaultsOf(device_->host()).SoundStatusRead(bits);
    return DS_OK;
}

HRESULT SoundBuffer::Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2,
                          DWORD* bytes2, DWORD flags) {
    if (part1 == nullptr || bytes1 == nullptr) return DSERR_INVALIDPARAM;
    if (device_ == nullptr) return DSERR_UNINITIALIZED;
    const std::lock_guard guard(device_->MixLock());
    if (lost_) return DSERR_BUFFERLOST;
    const DWORD size = samples_->size;
    if (flags & DSBLOCK_ENTIREBUFFER) {
        offset = 0;
        bytes = size;
    } else if (flags & DSBLOCK_FROMWRITECURSOR) {
        offset = HeardFrame() * format_.nBlockAlign;
    }
    if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
    const DWORD first = std::min(bytes, size - offset);
    const DWORD rest = bytes - first;
    // A region that wraps needs somewhere to put its second part.
    if (rest != 0 && (part2 == nullptr || bytes2 == nullptr)) return DSERR_INVALIDPARAM;
    *part1 = samples_->bytes.get() + offset;
    *bytes1 = first;
    if (part2 != nullptr) *part2 = rest != 0 ? samples_->bytes.get() : nullptr;
    if (bytes2 != nullptr) *bytes2 = rest;
    return DS_OK;
}

HRESULT SoundBuffer::Unlock(void* part1, DWORD bytes1, void* part2, DWORD bytes2) {
    if (device_ == nullptr) return DSERR_UNINITIALIZED;
    const std::uint8_t* begin = samples_->bytes.get();
    const std::uint8_t* end = begin + samples_->size;
    const auto* first = static_cast<const std::uint8_t*>(part1);
    if (first == nullptr || first < begin || first >= end ||
        bytes1 > static_cast<DWORD>(end - first)) {
        return DSERR_INVALIDPARAM;
    }
    if (part2 != nullptr && (part2 != begin || bytes2 > samples_->size)) return DSERR_INVALIDPARAM;
    const std::lock_guard guard(device_->MixLock());
    ++samples_->generation;
    return DS_OK;
}

HRESULT SoundBuffer::Play(DWORD reserved, DWORD priority, DWORD flags) {
    if (reserved != 0 || priority != 0) return DSERR_INVALIDPARAM;
    if (device_ == nullptr) return DSERR_UNINITIALIZED;
    // The conversion runs before the mix lock is taken, so the output never waits for it; the
    // program's own thread is the only one that changes what it depends on.
    std::unique_ptr<Voice> converted = TakePreparedVoice();
    if (!converted && !VoiceIsCurrent() && !ConvertForVoice(&converted)) {
        return DSERR_OUTOFMEMORY;
    }
    const std::lock_guard guard(device_->MixLock());
    if (lost_) return DSERR_BUFFERLOST;
    looping_ = (flags & DSBPLAY_LOOPING) != 0;
    NoteRequest(SoundEvent::Kind::Played);
    // A playing buffer plays on and only takes the new loop flag.
    if (playing_) return DS_OK;
    if (converted) voice_.swap(converted);
    StartVoiceAt(positionFrame_);
    playing_ = true;
    NoteEvent(SoundEvent::Kind::Played);
    return DS_OK;
}

HRESULT SoundBuffer::Stop() {
    if (device_ == nullptr) return DSERR_UNINITIALIZED;
    const std::lock_guard guard(device_->MixLock());
    NoteRequest(SoundEvent::Kind::Stopped);
    if (!playing_) return DS_OK;
    positionFrame_ = HeardFrame();
    playing_ = false;
    NoteEvent(SoundEvent::Kind::Stopped);
    return DS_OK;
}

HRESULT SoundBuffer::GetCurrentPosition(DWORD* play, DWORD* write) {
    if (device_ == nullptr) return DSERR_UNINITIALIZED;
    const std::lock_guard guard(device_->MixLock());
    // A static buffer is written whole before it plays: the write cursor is the play cursor.
    const DWORD position = HeardFrame() * format_.nBlockAlign;
    if (play != nullptr) *play = position;
    if (write != nullptr) *write = position;
    return DS_OK;
}

HRESULT SoundBuffer::SetCurrentPosition(DWORD position) {
    if (device_ == nullptr) return DSERR_UNINITIALIZED;
    const std::lock_guard guard(device_->MixLock());
    const DWORD frame = position / format_.nBlockAlign;
    if (frame >= LengthFrames()) return DSERR_INVALIDPARAM;
    if (playing_) {
        StartVoiceAt(frame);
    } else {
        positionFrame_ = frame;
    }
    return DS_OK;
}

HRESULT SoundBuffer::SetPan(std::int32_t pan) {
    if (!(flags_ & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
    if (device_ == nullptr) return DSERR_UNINITIALIZED;
    const std::lock_guard guard(device_->MixLock());
    pan_ = pan;
    return DS_OK;
}

HRESULT SoundBuffer::GetPan(std::int32_t* pan) {
    if (!(flags_ & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
    if (pan == nullptr) return DSERR_INVALIDPARAM;
    *pan = pan_;
    return DS_OK;
}

HRESULT SoundBuffer::SetVolume(std::int32_t volume) {
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    if (device_ == nullptr) return DSERR_UNINITIALIZED;
    const std::lock_guard guard(device_->MixLock());
    volume_ = volume;
    return DS_OK;
}

HRESULT SoundBuffer::GetVolume(std::int32_t* volume) {
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    if (volume == nullptr) return DSERR_INVALIDPARAM;
    *volume = volume_;
    return DS_OK;
}

HRESULT SoundBuffer::SetFrequency(DWORD frequency) {
    if (!(flags_ & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
    if (frequency != DSBFREQUENCY_ORIGINAL &&
        (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX)) {
        return DSERR_INVALIDPARAM;
    }
    if (device_ == nullptr) return DSERR_UNINITIALIZED;
    if (frequency == frequency_) return DS_OK;
    const DWORD previous = frequency_;
    frequency_ = frequency;
    if (!playing_) return DS_OK;
    // A playing buffer goes on from the frame heard now, at the new rate.
    std::unique_ptr<Voice> converted;
    if (!ConvertForVoice(&converted)) {
        frequency_ = previous;
        return DSERR_OUTOFMEMORY;
    }
    const std::lock_guard guard(device_->MixLock());
    if (!playing_) return DS_OK;
    const DWORD from = HeardFrame();
    voice_.swap(converted);
    StartVoiceAt(from);
    return DS_OK;
}

HRESULT SoundBuffer::GetFrequency(DWORD* frequency) {
    if (!(flags_ & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
    if (frequency == nullptr) return DSERR_INVALIDPARAM;
    *frequency = EffectiveFrequency();
    return DS_OK;
}

HRESULT SoundBuffer::Restore() {
    if (device_ == nullptr) return DSERR_UNINITIALIZED;
    const std::lock_guard guard(device_->MixLock());
    if (!lost_) return DS_OK;
    const HRESULT result = FaultsOf(device_->host()).SoundRestoreResult();
    if (result < 0) return result;
    // The mixer's memory was never really taken: the samples come back as they were.
    lost_ = false;
    return DS_OK;
}

}  // namespace platform
