// SPDX-License-Identifier: MIT
#pragma once

// The sound service's vocabulary: result codes, flags and the records that cross its
// interface, with fixed numeric values that the engine tests and reports.

#include <cstdint>

#include "platform/host/display_types.h"
#include "platform/host/win_types.h"

namespace platform {

inline constexpr HRESULT DS_OK = 0;

inline constexpr HRESULT DSERR_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
inline constexpr HRESULT DSERR_GENERIC = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT DSERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT DSERR_ALLOCATED = static_cast<HRESULT>(0x8878000Au);
inline constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001Eu);
inline constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032u);
inline constexpr HRESULT DSERR_PRIOLEVELNEEDED = static_cast<HRESULT>(0x88780046u);
inline constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
inline constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);
inline constexpr HRESULT DSERR_ALREADYINITIALIZED = static_cast<HRESULT>(0x88780082u);
inline constexpr HRESULT DSERR_BUFFERLOST = static_cast<HRESULT>(0x88780096u);
inline constexpr HRESULT DSERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x887800A0u);
inline constexpr HRESULT DSERR_UNINITIALIZED = static_cast<HRESULT>(0x887800AAu);

inline constexpr DWORD DSSCL_NORMAL = 1;
inline constexpr DWORD DSSCL_PRIORITY = 2;
inline constexpr DWORD DSSCL_EXCLUSIVE = 3;
inline constexpr DWORD DSSCL_WRITEPRIMARY = 4;

inline constexpr DWORD DSBPLAY_LOOPING = 0x00000001;
inline constexpr DWORD DSBSTATUS_PLAYING = 0x00000001;
inline constexpr DWORD DSBSTATUS_BUFFERLOST = 0x00000002;
inline constexpr DWORD DSBSTATUS_LOOPING = 0x00000004;
inline constexpr DWORD DSBLOCK_FROMWRITECURSOR = 0x00000001;
inline constexpr DWORD DSBLOCK_ENTIREBUFFER = 0x00000002;

inline constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x00000001;
inline constexpr DWORD DSBCAPS_STATIC = 0x00000002;
inline constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x00000020;
inline constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040;
inline constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;
inline constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;

inline constexpr std::int32_t DSBVOLUME_MIN = -10000;
inline constexpr std::int32_t DSBVOLUME_MAX = 0;
inline constexpr std::int32_t DSBPAN_LEFT = -10000;
inline constexpr std::int32_t DSBPAN_RIGHT = 10000;
inline constexpr DWORD DSBFREQUENCY_ORIGINAL = 0;
inline constexpr DWORD DSBFREQUENCY_MIN = 100;
inline constexpr DWORD DSBFREQUENCY_MAX = 100000;
inline constexpr DWORD DSBSIZE_MIN = 4;
inline constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;

inline constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

struct WAVEFORMATEX {
    std::uint16_t wFormatTag = 0;
    std::uint16_t nChannels = 0;
    DWORD nSamplesPerSec = 0;
    DWORD nAvgBytesPerSec = 0;
    std::uint16_t nBlockAlign = 0;
    std::uint16_t wBitsPerSample = 0;
    std::uint16_t cbSize = 0;
};

// The buffer description's published size: 20 bytes, the record as 32-bit programs lay it
// out; the service checks dwSize against it.
inline constexpr DWORD kSoundBufferDescSize = 20;

struct DSBUFFERDESC {
    DWORD dwSize = 0;
    DWORD dwFlags = 0;
    DWORD dwBufferBytes = 0;
    DWORD dwReserved = 0;
    const WAVEFORMATEX* lpwfxFormat = nullptr;
};

}  // namespace platform
