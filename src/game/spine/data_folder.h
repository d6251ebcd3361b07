// SPDX-License-Identifier: MIT
#pragma once

// Finding the game's data files. The game opens every file by its bare name in the current
// folder, so the program runs inside the folder that holds them.

#include <filesystem>
#include <vector>

#include "data_files.h"

namespace zelto {

// The file whose presence marks a folder as holding the data set: the map, which start-up
// cannot do without.
inline constexpr const char* kDataSetMarker = kMapFile;

// The folder to run in: the current one when it holds the data set, else the first of the
// candidates that does, else the current one again (start-up then reports what is missing).
std::filesystem::path FindDataFolder(const std::filesystem::path& current,
                                     const std::vector<std::filesystem::path>& candidates);

// Whether the folder holds anything by the name of one of the game's data files. Start-up names
// a folder that holds none once, instead of each file it misses.
bool HoldsAnyDataFile(const std::filesystem::path& folder);

// Where the data set may be besides the current folder, in the order they are tried: the
// executable's own folder (a build tree keeps the data beside the program), then the data
// folders of the installation layouts (the GNU one of `cmake --install`, the games folders of
// the Debian package), first as seen from the executable (so an installation moved elsewhere,
// or unpacked into a staging folder, still finds its data) and then where they are installed.
// Installed folders count only when they are absolute.
std::vector<std::filesystem::path> DataFolderCandidates(
    const std::filesystem::path& executableFolder,
    const std::vector<std::filesystem::path>& dataFoldersFromExecutable,
    const std::vector<std::filesystem::path>& installedDataFolders);

}  // namespace zelto
