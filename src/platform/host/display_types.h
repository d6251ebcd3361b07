// SPDX-License-Identifier: MIT
#pragma once

// The display service's vocabulary: result codes, flags and the records that cross its
// interface. The numeric values are fixed, so engine routines test them and report them by
// number and name.

#include <cstdint>
#include <cstring>

#include "platform/host/win_types.h"

namespace platform {

using HRESULT = std::int32_t;

inline constexpr HRESULT DD_OK = 0;

// Result codes.
inline constexpr HRESULT DDERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT DDERR_GENERIC = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT DDERR_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
inline constexpr HRESULT DDERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT DDERR_INVALIDPARAMS = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT DDERR_ALREADYINITIALIZED = static_cast<HRESULT>(0x88760005u);
inline constexpr HRESULT DDERR_CANNOTATTACHSURFACE = static_cast<HRESULT>(0x8876000Au);
inline constexpr HRESULT DDERR_CANNOTDETACHSURFACE = static_cast<HRESULT>(0x88760014u);
inline constexpr HRESULT DDERR_CURRENTLYNOTAVAIL = static_cast<HRESULT>(0x88760028u);
inline constexpr HRESULT DDERR_EXCEPTION = static_cast<HRESULT>(0x88760037u);
inline constexpr HRESULT DDERR_HEIGHTALIGN = static_cast<HRESULT>(0x8876005Au);
inline constexpr HRESULT DDERR_INCOMPATIBLEPRIMARY = static_cast<HRESULT>(0x8876005Fu);
inline constexpr HRESULT DDERR_INVALIDCAPS = static_cast<HRESULT>(0x88760064u);
inline constexpr HRESULT DDERR_INVALIDCLIPLIST = static_cast<HRESULT>(0x8876006Eu);
inline constexpr HRESULT DDERR_INVALIDMODE = static_cast<HRESULT>(0x88760078u);
inline constexpr HRESULT DDERR_INVALIDOBJECT = static_cast<HRESULT>(0x88760082u);
inline constexpr HRESULT DDERR_INVALIDPIXELFORMAT = static_cast<HRESULT>(0x88760091u);
inline constexpr HRESULT DDERR_INVALIDRECT = static_cast<HRESULT>(0x88760096u);
inline constexpr HRESULT DDERR_LOCKEDSURFACES = static_cast<HRESULT>(0x887600A0u);
inline constexpr HRESULT DDERR_NO3D = static_cast<HRESULT>(0x887600AAu);
inline constexpr HRESULT DDERR_NOALPHAHW = static_cast<HRESULT>(0x887600B4u);
inline constexpr HRESULT DDERR_NOCLIPLIST = static_cast<HRESULT>(0x887600CDu);
inline constexpr HRESULT DDERR_NOCOLORCONVHW = static_cast<HRESULT>(0x887600D2u);
inline constexpr HRESULT DDERR_NOCOOPERATIVELEVELSET = static_cast<HRESULT>(0x887600D4u);
inline constexpr HRESULT DDERR_NOCOLORKEY = static_cast<HRESULT>(0x887600D7u);
inline constexpr HRESULT DDERR_NOCOLORKEYHW = static_cast<HRESULT>(0x887600DCu);
inline constexpr HRESULT DDERR_NODIRECTDRAWSUPPORT = static_cast<HRESULT>(0x887600DEu);
inline constexpr HRESULT DDERR_NOEXCLUSIVEMODE = static_cast<HRESULT>(0x887600E1u);
inline constexpr HRESULT DDERR_NOFLIPHW = static_cast<HRESULT>(0x887600E6u);
inline constexpr HRESULT DDERR_NOGDI = static_cast<HRESULT>(0x887600F0u);
inline constexpr HRESULT DDERR_NOMIRRORHW = static_cast<HRESULT>(0x887600FAu);
inline constexpr HRESULT DDERR_NOTFOUND = static_cast<HRESULT>(0x887600FFu);
inline constexpr HRESULT DDERR_NOOVERLAYHW = static_cast<HRESULT>(0x88760104u);
inline constexpr HRESULT DDERR_NORASTEROPHW = static_cast<HRESULT>(0x88760118u);
inline constexpr HRESULT DDERR_NOROTATIONHW = static_cast<HRESULT>(0x88760122u);
inline constexpr HRESULT DDERR_NOSTRETCHHW = static_cast<HRESULT>(0x88760136u);
inline constexpr HRESULT DDERR_NOT4BITCOLOR = static_cast<HRESULT>(0x8876013Cu);
inline constexpr HRESULT DDERR_NOT4BITCOLORINDEX = static_cast<HRESULT>(0x8876013Du);
inline constexpr HRESULT DDERR_NOT8BITCOLOR = static_cast<HRESULT>(0x88760140u);
inline constexpr HRESULT DDERR_NOTEXTUREHW = static_cast<HRESULT>(0x8876014Au);
inline constexpr HRESULT DDERR_NOVSYNCHW = static_cast<HRESULT>(0x8876014Fu);
inline constexpr HRESULT DDERR_NOZBUFFERHW = static_cast<HRESULT>(0x88760154u);
inline constexpr HRESULT DDERR_NOZOVERLAYHW = static_cast<HRESULT>(0x8876015Eu);
inline constexpr HRESULT DDERR_OUTOFCAPS = static_cast<HRESULT>(0x88760168u);
inline constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = static_cast<HRESULT>(0x8876017Cu);
inline constexpr HRESULT DDERR_OVERLAYCANTCLIP = static_cast<HRESULT>(0x8876017Eu);
inline constexpr HRESULT DDERR_OVERLAYCOLORKEYONLYONEACTIVE = static_cast<HRESULT>(0x88760180u);
inline constexpr HRESULT DDERR_PALETTEBUSY = static_cast<HRESULT>(0x88760183u);
inline constexpr HRESULT DDERR_COLORKEYNOTSET = static_cast<HRESULT>(0x88760190u);
inline constexpr HRESULT DDERR_SURFACEALREADYATTACHED = static_cast<HRESULT>(0x8876019Au);
inline constexpr HRESULT DDERR_SURFACEALREADYDEPENDENT = static_cast<HRESULT>(0x887601A4u);
inline constexpr HRESULT DDERR_SURFACEBUSY = static_cast<HRESULT>(0x887601AEu);
inline constexpr HRESULT DDERR_CANTLOCKSURFACE = static_cast<HRESULT>(0x887601B3u);
inline constexpr HRESULT DDERR_SURFACEISOBSCURED = static_cast<HRESULT>(0x887601B8u);
inline constexpr HRESULT DDERR_SURFACELOST = static_cast<HRESULT>(0x887601C2u);
inline constexpr HRESULT DDERR_SURFACENOTATTACHED = static_cast<HRESULT>(0x887601CCu);
inline constexpr HRESULT DDERR_TOOBIGHEIGHT = static_cast<HRESULT>(0x887601D6u);
inline constexpr HRESULT DDERR_TOOBIGSIZE = static_cast<HRESULT>(0x887601E0u);
inline constexpr HRESULT DDERR_TOOBIGWIDTH = static_cast<HRESULT>(0x887601EAu);
inline constexpr HRESULT DDERR_UNSUPPORTEDFORMAT = static_cast<HRESULT>(0x887601FEu);
inline constexpr HRESULT DDERR_UNSUPPORTEDMASK = static_cast<HRESULT>(0x88760208u);
inline constexpr HRESULT DDERR_VERTICALBLANKINPROGRESS = static_cast<HRESULT>(0x88760219u);
inline constexpr HRESULT DDERR_WASSTILLDRAWING = static_cast<HRESULT>(0x8876021Cu);
inline constexpr HRESULT DDERR_XALIGN = static_cast<HRESULT>(0x88760230u);
inline constexpr HRESULT DDERR_INVALIDDIRECTDRAWGUID = static_cast<HRESULT>(0x88760231u);
inline constexpr HRESULT DDERR_DIRECTDRAWALREADYCREATED = static_cast<HRESULT>(0x88760232u);
inline constexpr HRESULT DDERR_NODIRECTDRAWHW = static_cast<HRESULT>(0x88760233u);
inline constexpr HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = static_cast<HRESULT>(0x88760234u);
inline constexpr HRESULT DDERR_NOEMULATION = static_cast<HRESULT>(0x88760235u);
inline constexpr HRESULT DDERR_REGIONTOOSMALL = static_cast<HRESULT>(0x88760236u);
inline constexpr HRESULT DDERR_CLIPPERISUSINGHWND = static_cast<HRESULT>(0x88760237u);
inline constexpr HRESULT DDERR_NOCLIPPERATTACHED = static_cast<HRESULT>(0x88760238u);
inline constexpr HRESULT DDERR_NOHWND = static_cast<HRESULT>(0x88760239u);
inline constexpr HRESULT DDERR_HWNDSUBCLASSED = static_cast<HRESULT>(0x8876023Au);
inline constexpr HRESULT DDERR_HWNDALREADYSET = static_cast<HRESULT>(0x8876023Bu);
inline constexpr HRESULT DDERR_NOPALETTEATTACHED = static_cast<HRESULT>(0x8876023Cu);
inline constexpr HRESULT DDERR_NOPALETTEHW = static_cast<HRESULT>(0x8876023Du);
inline constexpr HRESULT DDERR_BLTFASTCANTCLIP = static_cast<HRESULT>(0x8876023Eu);
inline constexpr HRESULT DDERR_NOBLTHW = static_cast<HRESULT>(0x8876023Fu);
inline constexpr HRESULT DDERR_NODDROPSHW = static_cast<HRESULT>(0x88760240u);
inline constexpr HRESULT DDERR_OVERLAYNOTVISIBLE = static_cast<HRESULT>(0x88760241u);
inline constexpr HRESULT DDERR_NOOVERLAYDEST = static_cast<HRESULT>(0x88760242u);
inline constexpr HRESULT DDERR_INVALIDPOSITION = static_cast<HRESULT>(0x88760243u);
inline constexpr HRESULT DDERR_NOTAOVERLAYSURFACE = static_cast<HRESULT>(0x88760244u);
inline constexpr HRESULT DDERR_EXCLUSIVEMODEALREADYSET = static_cast<HRESULT>(0x88760245u);
inline constexpr HRESULT DDERR_NOTFLIPPABLE = static_cast<HRESULT>(0x88760246u);
inline constexpr HRESULT DDERR_CANTDUPLICATE = static_cast<HRESULT>(0x88760247u);
inline constexpr HRESULT DDERR_NOTLOCKED = static_cast<HRESULT>(0x88760248u);
inline constexpr HRESULT DDERR_CANTCREATEDC = static_cast<HRESULT>(0x88760249u);
inline constexpr HRESULT DDERR_NODC = static_cast<HRESULT>(0x8876024Au);
inline constexpr HRESULT DDERR_WRONGMODE = static_cast<HRESULT>(0x8876024Bu);
inline constexpr HRESULT DDERR_IMPLICITLYCREATED = static_cast<HRESULT>(0x8876024Cu);
inline constexpr HRESULT DDERR_NOTPALETTIZED = static_cast<HRESULT>(0x8876024Du);
inline constexpr HRESULT DDERR_UNSUPPORTEDMODE = static_cast<HRESULT>(0x8876024Eu);
inline constexpr HRESULT DDERR_NOMIPMAPHW = static_cast<HRESULT>(0x8876024Fu);
inline constexpr HRESULT DDERR_INVALIDSURFACETYPE = static_cast<HRESULT>(0x88760250u);
inline constexpr HRESULT DDERR_DCALREADYCREATED = static_cast<HRESULT>(0x8876026Cu);
inline constexpr HRESULT DDERR_CANTPAGELOCK = static_cast<HRESULT>(0x88760280u);
inline constexpr HRESULT DDERR_CANTPAGEUNLOCK = static_cast<HRESULT>(0x88760294u);
inline constexpr HRESULT DDERR_NOTPAGELOCKED = static_cast<HRESULT>(0x887602A8u);

// Flags.
inline constexpr DWORD DDBLT_COLORFILL = 0x00000400;
inline constexpr DWORD DDBLT_DDFX = 0x00000800;
inline constexpr DWORD DDBLT_KEYSRC = 0x00008000;
inline constexpr DWORD DDBLT_WAIT = 0x01000000;
inline constexpr DWORD DDBLTFAST_NOCOLORKEY = 0x00000000;
inline constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x00000001;
inline constexpr DWORD DDBLTFAST_DESTCOLORKEY = 0x00000002;
inline constexpr DWORD DDBLTFAST_WAIT = 0x00000010;
inline constexpr DWORD DDFLIP_WAIT = 0x00000001;
inline constexpr DWORD DDFLIP_NOVSYNC = 0x00000008;
inline constexpr DWORD DDBLTFX_MIRRORLEFTRIGHT = 0x00000002;
inline constexpr DWORD DDBLTFX_MIRRORUPDOWN = 0x00000004;
inline constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
inline constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
inline constexpr DWORD DDSCAPS_FLIP = 0x00000010;
inline constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
inline constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
inline constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
inline constexpr DWORD DDSCAPS_3DDEVICE = 0x00002000;
inline constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x00004000;
inline constexpr DWORD DDSD_CAPS = 0x00000001;
inline constexpr DWORD DDSD_HEIGHT = 0x00000002;
inline constexpr DWORD DDSD_WIDTH = 0x00000004;
inline constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
inline constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;
inline constexpr DWORD DDPF_PALETTEINDEXED8 = 0x00000020;
inline constexpr DWORD DDPF_RGB = 0x00000040;
inline constexpr DWORD DDCKEY_SRCBLT = 0x00000008;
inline constexpr DWORD DDLOCK_WAIT = 0x00000001;
inline constexpr DWORD DDLOCK_WRITEONLY = 0x00000020;
inline constexpr DWORD DDWAITVB_BLOCKBEGIN = 0x00000001;
inline constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
inline constexpr DWORD DDSCL_ALLOWREBOOT = 0x00000002;
inline constexpr DWORD DDSCL_NORMAL = 0x00000008;
inline constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;
inline constexpr DWORD DDSCL_ALLOWMODEX = 0x00000040;

struct GUID {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};
};

struct DDPIXELFORMAT {
    DWORD dwSize = 32;
    DWORD dwFlags = 0;  // DDPF_RGB or DDPF_PALETTEINDEXED8
    DWORD dwFourCC = 0;
    DWORD dwRGBBitCount = 0;
    DWORD dwRBitMask = 0;
    DWORD dwGBitMask = 0;
    DWORD dwBBitMask = 0;
    DWORD dwRGBAlphaBitMask = 0;
};

struct DDCOLORKEY {
    DWORD dwColorSpaceLowValue = 0;
    DWORD dwColorSpaceHighValue = 0;
};

struct DDSCAPS2 {
    DWORD dwCaps = 0;
};

struct DDSURFACEDESC2 {
    DWORD dwSize = 0;
    DWORD dwFlags = 0;
    DWORD dwHeight = 0;
    DWORD dwWidth = 0;
    std::int32_t lPitch = 0;
    DWORD dwBackBufferCount = 0;
    void* lpSurface = nullptr;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS2 ddsCaps;
};

// The descriptor's size as the engine sets it before every call that fills one.
inline constexpr DWORD kSurfaceDescSize = 124;

// Clears a descriptor and sets its sizes. Clearing in place, rather than assigning a fresh
// record, writes only stores: a copy of a just-built temporary stalls every lock on the load
// that has to wait for those stores.
inline void ResetSurfaceDesc(DDSURFACEDESC2& desc) {
    std::memset(static_cast<void*>(&desc), 0, sizeof desc);
    desc.dwSize = kSurfaceDescSize;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
}

struct DDBLTFX {
    DWORD dwSize = sizeof(DDBLTFX);
    DWORD dwDDFX = 0;  // DDBLTFX_MIRRORLEFTRIGHT, DDBLTFX_MIRRORUPDOWN
    DWORD dwFillColor = 0;
};

struct PALETTEENTRY {
    std::uint8_t peRed = 0;
    std::uint8_t peGreen = 0;
    std::uint8_t peBlue = 0;
    std::uint8_t peFlags = 0;
};

// Capability record of a display device: its size field first, then 376 bytes that the
// engine keeps but never reads.
struct DDCAPS {
    DWORD dwSize = 380;
    std::uint8_t data[376] = {};
};
static_assert(sizeof(DDCAPS) == 380);

inline constexpr DWORD DDPCAPS_8BIT = 0x00000004;
inline constexpr DWORD DDPCAPS_ALLOW256 = 0x00000040;
inline constexpr DWORD DDEDM_STANDARDVGAMODES = 0x00000002;
inline constexpr DWORD DDENUM_ATTACHEDSECONDARYDEVICES = 0x00000001;
inline constexpr DWORD DDENUM_NONDISPLAYDEVICES = 0x00000004;
inline constexpr DWORD DDSDM_STANDARDVGAMODE = 0x00000001;

inline constexpr bool SUCCEEDED(HRESULT result) {
    return result >= 0;
}
inline constexpr bool FAILED(HRESULT result) {
    return result < 0;
}

}  // namespace platform
