// SPDX-License-Identifier: MIT
#pragma once

// Numbers the sounds a program plays in the order it first uses them: the same program plays
// the same sounds under the same numbers in every run, wherever their memory lies.

#include <cstdint>
#include <map>

#include "fault_hooks.h"
#include "recording.h"

namespace platform {

class SoundNumbers {
public:
    // The request a sound event makes; only played and stopped sounds are requests (a sound that
    // finishes does so on the output's own time).
    static bool IsRequest(const SoundEvent& event) {
        return event.kind == SoundEvent::Kind::Played || event.kind == SoundEvent::Kind::Stopped;
    }
    SoundRequest RequestOf(const SoundEvent& event);

private:
    std::map<const void*, std::uint32_t> numbers_;
};

}  // namespace platform
