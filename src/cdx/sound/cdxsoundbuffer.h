// SPDX-License-Identifier: MIT
#pragma once

// CDXSoundBuffer: one sound effect, read from a WAV file into a static buffer of the sound
// device, with duplicates of it so the same sound can sound several times at once.

#include <cstdint>
#include <memory>

#include "platform/sound/sound_buffer.h"

namespace cdx {

class CDXSound;

class CDXSoundBuffer {
public:
    CDXSoundBuffer() = default;
    ~CDXSoundBuffer() { Release(); }
    CDXSoundBuffer(const CDXSoundBuffer&) = delete;
    CDXSoundBuffer& operator=(const CDXSoundBuffer&) = delete;

    // 1 when the sound was read (or sound is disabled), 0 on failure with nothing kept.
    // fileName is kept as the caller's pointer and must outlive this object.
    int Load(CDXSound* sound, const char* fileName, std::int32_t copies);
    // flags: the service's play flags (DSBPLAY_LOOPING or 0); pan and volume in hundredths of
    // a decibel. 1 when the sound started or sound is disabled, 0 when it did not.
    int Play(platform::DWORD flags, std::int32_t pan, std::int32_t volume);
    // Makes every copy ready for its first play on threads of their own, so that a sound played
    // as soon as loading ends does not wait then for its conversion to the mixer's format.
    void PrepareToPlay();
    void Release();

    std::int32_t CopyCount = 1;
    std::int32_t CurrentCopy = 0;
    const char* FileName = nullptr;
    CDXSound* Sound = nullptr;
    // Copy 0 is read from the file, the others duplicate it.
    std::unique_ptr<std::shared_ptr<platform::SoundBuffer>[]> Copies;

private:
    int LoadFromFile(std::int32_t copy);
    platform::SoundBuffer* GetFreeBuffer();
};

}  // namespace cdx
