// SPDX-License-Identifier: MIT
#include "cdx/sound/cdxsoundbuffer.h"

#include <cstdio>
#include <new>

#include "cdx/sound/cdxsound.h"
#include "cdx/sound/wavfile.h"
#include "platform/host/regular_file.h"
#include "platform/host/window.h"

using namespace platform;

namespace cdx {

namespace {

constexpr DWORD kBufferFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN |
                               DSBCAPS_CTRLVOLUME | DSBCAPS_GETCURRENTPOSITION2;

// The debugger's note on sample data the file does not hold: the locked memory (0 when none
// was made), its length, and the file's handle, each as a signed decimal.
void NoteShortData(const void* data, std::uint32_t length, std::FILE* file) {
    char line[128];
    std::snprintf(line, sizeof(line), "Data : %d, dwdata: %d, fp: %d\n",
                  static_cast<int>(reinterpret_cast<std::uintptr_t>(data)),
                  static_cast<int>(length), fileno(file));
    OutputDebugString(line);
}

}  // namespace

int CDXSoundBuffer::Load(CDXSound* sound, const char* fileName, std::int32_t copies) {
    if (fileName == nullptr || sound == nullptr) return 0;
    Release();
    CurrentCopy = 0;
    // Without a device sound is disabled, and a sound that never plays needs no samples: the
    // load succeeds with nothing read, so a game that goes on without sound really goes on.
    if (!sound->DirectSound) {
        FileName = fileName;
        Sound = sound;
        CopyCount = 1;
        return 1;
    }
    const std::int32_t count = copies >= 1 ? copies : 1;
    Copies.reset(new (std::nothrow) std::shared_ptr<SoundBuffer>[static_cast<std::size_t>(count)]);
    if (!Copies) return 0;
    FileName = fileName;
    Sound = sound;
    CopyCount = count;
    if (!LoadFromFile(0)) {
        Release();
        return 0;
    }
    for (std::int32_t i = 1; i < count; ++i) {
        // A copy that cannot share copy 0's samples reads its own from the file, so that
        // every copy holds a buffer.
        if (sound->DirectSound->DuplicateSoundBuffer(Copies[0], &Copies[i]) != DS_OK &&
            !LoadFromFile(i)) {
            Release();
            return 0;
        }
    }
    return 1;
}

int CDXSoundBuffer::LoadFromFile(std::int32_t copy) {
    // Only a regular file is read: a folder, a FIFO or a device fails the load like a missing
    // file.
    std::uint64_t fileSize = 0;
    const FileHandle file = OpenRegularFile(FileName, &fileSize);
    if (!file) return 0;
    std::uint8_t headerBytes[kWavHeaderSize];
    if (std::fread(headerBytes, 1, sizeof(headerBytes), file.get()) != sizeof(headerBytes)) {
        return 0;
    }
    const WavHeader header = ReadWavHeader(headerBytes);
    // Sample data longer than the file is refused before any memory is made for it.
    if (!WavDataFitsFile(header, fileSize)) {
        NoteShortData(nullptr, header.dataLength, file.get());
        return 0;
    }
    const WAVEFORMATEX format = WavBufferFormat(header);
    DSBUFFERDESC desc;
    desc.dwSize = kSoundBufferDescSize;
    desc.dwFlags = kBufferFlags;
    desc.dwBufferBytes = header.dataLength;
    desc.lpwfxFormat = &format;
    Sound->DirectSound->CreateSoundBuffer(&desc, &Copies[copy]);
    if (!Copies[copy]) return 0;
    void* data = nullptr;
    DWORD length = 0;
    if (Copies[copy]->Lock(0, 0, &data, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER) != DS_OK) {
        return 0;
    }
    // The file may have shrunk since its size was taken.
    if (length != 0 && std::fread(data, 1, length, file.get()) != length) {
        NoteShortData(data, length, file.get());
        return 0;
    }
    return Copies[copy]->Unlock(data, length, nullptr, 0) == DS_OK ? 1 : 0;
}

SoundBuffer* CDXSoundBuffer::GetFreeBuffer() {
    if (!Copies || !Copies[CurrentCopy]) return nullptr;
    DWORD status = 0;
    if (Copies[CurrentCopy]->GetStatus(&status) < 0) status = 0;
    if (status & DSBSTATUS_PLAYING) {
        if (CopyCount < 2) return nullptr;
        CurrentCopy = (CurrentCopy + 1) % CopyCount;
        if (!Copies[CurrentCopy]) return nullptr;
        if (Copies[CurrentCopy]->GetStatus(&status) < 0) status = 0;
        if (status & DSBSTATUS_PLAYING) {
            Copies[CurrentCopy]->Stop();
            Copies[CurrentCopy]->SetCurrentPosition(0);
        }
    }
    if ((status & DSBSTATUS_BUFFERLOST) && Copies[CurrentCopy]->Restore() < 0) return nullptr;
    return Copies[CurrentCopy].get();
}

int CDXSoundBuffer::Play(DWORD flags, std::int32_t pan, std::int32_t volume) {
    if (Sound == nullptr) return 0;
    if (Sound->SoundDisabled) return 1;
    SoundBuffer* buffer = GetFreeBuffer();
    if (buffer == nullptr) return 0;
    if (buffer->SetPan(pan) != DS_OK || buffer->SetVolume(volume) != DS_OK ||
        buffer->SetFrequency(DSBFREQUENCY_ORIGINAL) != DS_OK) {
        return 0;
    }
    return buffer->Play(0, 0, flags) == DS_OK ? 1 : 0;
}

void CDXSoundBuffer::PrepareToPlay() {
    if (Sound == nullptr || Sound->SoundDisabled || !Copies) return;
    for (std::int32_t i = 0; i < CopyCount; ++i) {
        if (Copies[i]) Copies[i]->PrepareVoice();
    }
}

void CDXSoundBuffer::Release() {
    Copies.reset();
    Sound = nullptr;
}

}  // namespace cdx
