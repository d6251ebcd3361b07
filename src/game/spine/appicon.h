// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

// The window's icon, "APPICON": a 32 x 32 Windows bitmap file image (24-bit, uncompressed),
// written by the data generator into a source file that is compiled into the program.
extern const unsigned char kAppIconBmp[];
extern const std::size_t kAppIconBmpSize;
