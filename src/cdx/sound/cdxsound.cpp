// SPDX-License-Identifier: MIT
#include "cdx/sound/cdxsound.h"

#include "cdx/error/cdxerror.h"

using namespace platform;

namespace cdx {

// Always 1. A failure has been put to the user by the sound error report: Yes means go on with
// sound turned off, which a 0 here would turn into a fatal error; No has already asked for the
// end of the program, which a 0 would only follow with a second, needless message. Either way
// the device is left unmade and sound stays disabled.
int CDXSound::Create(HWND window) {
    DirectSound.reset();
    SoundDisabled = 1;
    std::shared_ptr<SoundDevice> device;
    HRESULT result = DirectSoundCreate(nullptr, &device, nullptr);
    if (result != DS_OK) {
        ReportDirectSoundError(result, window);
        return 1;
    }
    result = device->SetCooperativeLevel(window, DSSCL_NORMAL);
    if (result != DS_OK) {
        ReportDirectSoundError(result, window);
        return 1;
    }
    DirectSound = std::move(device);
    DirectSound->SetMuted(Muted);
    SoundDisabled = 0;
    return 1;
}

void CDXSound::SetMuted(bool muted) {
    Muted = muted;
    if (DirectSound) DirectSound->SetMuted(muted);
}

}  // namespace cdx
