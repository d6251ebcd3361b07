// SPDX-License-Identifier: MIT
#include "platform/record/sound_numbers.h"

namespace platform {

SoundRequest SoundNumbers::RequestOf(const SoundEvent& event) {
    const auto [place, added] =
        numbers_.emplace(event.samples, static_cast<std::uint32_t>(numbers_.size()));
    SoundRequest request;
    request.kind = event.kind == SoundEvent::Kind::Played ? SoundRequest::Kind::Played
                                                          : SoundRequest::Kind::Stopped;
    request.sound = place->second;
    request.flags = event.flags;
    request.pan = event.pan;
    request.volume = event.volume;
    request.frequency = event.frequency;
    return request;
}

}  // namespace platform
