// SPDX-License-Identifier: MIT
#include "cdx/input/input_frame.h"

namespace cdx {

KeyState InputFrame::Key(std::uint32_t code) const {
    return ReadKeyState(KeyStates, code);
}

}  // namespace cdx
