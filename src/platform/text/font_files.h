// SPDX-License-Identifier: MIT
#pragma once

// Where the text service finds the file of a face. Two ways, one per build: the desktop asks
// fontconfig for the system's fonts (font_files_fontconfig.cpp); a build that ships its fonts
// with the game, where no fontconfig runs (the browser), looks them up in a table of the files
// in the data folder's `fonts/` (font_files_shipped.cpp).

#include <span>
#include <string>

namespace platform {

// A face name the program asks for that no system has under that name, and the family that
// stands for it: a match to the stand-in family is no fall-back.
struct FaceAlias {
    const char* asked;
    const char* family;
};

struct FontFile {
    std::string path;
    std::string family;
};

// Gets the search ready and teaches it the aliases; false when it cannot run at all. Called
// once per process.
bool StartFontSearch(std::span<const FaceAlias> aliases);

// The file of the face at the weight (600 or more is bold), and the family it belongs to,
// which need not be the one asked for: the caller tells a match from a stand-in.
bool FindFontFile(const char* face, int weight, FontFile& found);

}  // namespace platform
