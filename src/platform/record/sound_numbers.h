// SPDX-License-Identifier: MIT
#pragma once

// Numbers the sounds a program plays in the order it first uses them: the same program plays
// the same sounds under the same numbers in every run, wherever their memory lies.

#include <cstdint>
#include <map>

#include "platform/host/fault_hooks.h"
#include "platform/record/recording.h"

namespace platform {

class SoundNumbers {
public:
    // The request, told as a played or stopped sound, with its sound's number.
    SoundRequest RequestOf(const SoundEvent& event);

private:
    std::map<const void*, std::uint32_t> numbers_;
};

}  // namespace platform
