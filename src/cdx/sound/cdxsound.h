// SPDX-License-Identifier: MIT
#pragma once

// CDXSound: the program's sound device. Until Create has made it, and when the machine has no
// sound device and the user chose to go on, sound is disabled: every sound plays nothing and
// reports success.

#include <cstdint>
#include <memory>

#include "platform/host/win_types.h"
#include "platform/sound/sound_device.h"

namespace cdx {

class CDXSound {
public:
    CDXSound() = default;
    CDXSound(const CDXSound&) = delete;
    CDXSound& operator=(const CDXSound&) = delete;

    int Create(platform::HWND window);
    // Silences all sound at once, or lets it be heard again; kept across a Create. Without a
    // device there is nothing to hear either way.
    void SetMuted(bool muted);
    bool IsMuted() const { return Muted; }

    std::int32_t SoundDisabled = 1;
    bool Muted = false;
    std::shared_ptr<platform::SoundDevice> DirectSound;
};

}  // namespace cdx
