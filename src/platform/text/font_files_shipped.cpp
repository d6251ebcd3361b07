// SPDX-License-Identifier: MIT
// The fonts shipped with the game, in the data folder's `fonts/`: the faces the game writes in,
// each at the two weights it uses. The build copies these files from the font packages the
// desktop build finds through fontconfig, so both draw the same glyphs.
#include <strings.h>

#include <iterator>

#include "platform/text/font_files.h"

namespace platform {

namespace {

struct ShippedFace {
    const char* family;
    bool bold;
    const char* file;
};

constexpr ShippedFace kShippedFaces[] = {
    {"DejaVu Sans", false, "fonts/DejaVuSans.ttf"},
    {"DejaVu Sans", true, "fonts/DejaVuSans-Bold.ttf"},
    {"Dancing Script", false, "fonts/DancingScript-Regular.otf"},
    {"Dancing Script", true, "fonts/DancingScript-Bold.otf"},
};

std::span<const FaceAlias> knownAliases;

}  // namespace

bool StartFontSearch(std::span<const FaceAlias> aliases) {
    knownAliases = aliases;
    return true;
}

bool FindFontFile(const char* face, int weight, FontFile& found) {
    const char* family = face;
    for (const FaceAlias& alias : knownAliases) {
        if (strcasecmp(face, alias.asked) == 0) family = alias.family;
    }
    const bool bold = weight >= 600;
    for (const ShippedFace& shipped : kShippedFaces) {
        if (strcasecmp(family, shipped.family) == 0 && shipped.bold == bold) {
            found.path = shipped.file;
            found.family = shipped.family;
            return true;
        }
    }
    return false;
}

}  // namespace platform
