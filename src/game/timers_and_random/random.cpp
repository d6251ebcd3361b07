// SPDX-License-Identifier: MIT
#include "random.h"

namespace zelto {

namespace {
std::uint32_t randomState = 1;
}

void SeedRandom(std::uint32_t seed) {
    randomState = seed;
}

int Random() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFF);
}

}  // namespace zelto
