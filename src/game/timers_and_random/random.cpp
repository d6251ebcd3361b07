// SPDX-License-Identifier: MIT
#include "game/timers_and_random/random.h"

namespace zelto {

int RandomNumbers::Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
}

}  // namespace zelto
