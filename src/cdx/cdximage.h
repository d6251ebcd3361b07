#pragma once

// Pictures for surfaces: the screen's default palette.

#include <memory>

#include "display_device.h"
#include "display_palette.h"

// A new 256-entry 3-3-2 colour-cube palette made through the display object, or null when the
// display object refuses it.
std::shared_ptr<platform::DisplayPalette> LoadDefaultPalette(platform::DisplayDevice& display);
