// SPDX-License-Identifier: MIT
// The system's fonts, through fontconfig.
#include <fontconfig/fontconfig.h>

#include "platform/text/font_files.h"

namespace platform {

bool StartFontSearch(std::span<const FaceAlias> aliases) {
    // The first start reads every configuration file and font cache of the system.
    if (!FcInit()) return false;
    std::string rules = "<?xml version=\"1.0\"?><fontconfig>";
    for (const FaceAlias& alias : aliases) {
        rules += std::string("<alias binding=\"same\"><family>") + alias.asked +
                 "</family><prefer><family>" + alias.family + "</family></prefer></alias>";
    }
    rules += "</fontconfig>";
    FcConfigParseAndLoadFromMemory(FcConfigGetCurrent(),
                                   reinterpret_cast<const FcChar8*>(rules.c_str()), FcTrue);
    return true;
}

bool FindFontFile(const char* face, int weight, FontFile& found) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face));
    FcPatternAddInteger(pattern, FC_WEIGHT, weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return false;
    FcChar8* file = nullptr;
    FcChar8* family = nullptr;
    const bool matched = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
                         FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch;
    if (matched) {
        found.path = reinterpret_cast<const char*>(file);
        found.family = reinterpret_cast<const char*>(family);
    }
    FcPatternDestroy(match);
    return matched;
}

}  // namespace platform
