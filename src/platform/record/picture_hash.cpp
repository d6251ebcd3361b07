// SPDX-License-Identifier: MIT
#include "platform/record/picture_hash.h"

#include <xxhash.h>

#include <cstddef>
#include <memory>

#include "platform/display/pixel_format.h"

namespace platform {
namespace {

struct HashStateFree {
    void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
};

}  // namespace

std::uint64_t PictureHash(const PresentedPicture& picture) {
    const std::unique_ptr<XXH3_state_t, HashStateFree> state(XXH3_createState());
    XXH3_64bits_reset(state.get());
    const std::int32_t shape[3] = {picture.width, picture.height,
                                   static_cast<std::int32_t>(picture.format.dwRGBBitCount)};
    XXH3_64bits_update(state.get(), shape, sizeof(shape));
    const std::size_t rowBytes =
        static_cast<std::size_t>(picture.width) *
        static_cast<std::size_t>(BytesPerPixel(picture.format.dwRGBBitCount));
    for (int y = 0; y < picture.height; ++y) {
        XXH3_64bits_update(
            state.get(), picture.pixels + static_cast<std::ptrdiff_t>(y) * picture.pitch, rowBytes);
    }
    return XXH3_64bits_digest(state.get());
}

}  // namespace platform
