// SPDX-License-Identifier: MIT
#include "game/spine/data_folder.h"

#include <system_error>

namespace zelto {

namespace {

bool HoldsDataSet(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_regular_file(folder / kDataSetMarker, error);
}

}  // namespace

std::filesystem::path FindDataFolder(const std::filesystem::path& current,
                                     const std::vector<std::filesystem::path>& candidates) {
    if (HoldsDataSet(current)) return current;
    for (const std::filesystem::path& candidate : candidates) {
        if (HoldsDataSet(candidate)) return candidate;
    }
    return current;
}

bool HoldsAnyDataFile(const std::filesystem::path& folder) {
    for (const char* name : kDataFiles) {
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(folder / name, error))) {
            return true;
        }
    }
    return false;
}

std::vector<std::filesystem::path> DataFolderCandidates(
    const std::filesystem::path& executableFolder,
    const std::vector<std::filesystem::path>& dataFoldersFromExecutable,
    const std::vector<std::filesystem::path>& installedDataFolders) {
    std::vector<std::filesystem::path> candidates;
    if (!executableFolder.empty()) {
        candidates.push_back(executableFolder);
        for (const std::filesystem::path& fromExecutable : dataFoldersFromExecutable) {
            if (fromExecutable.empty()) continue;
            candidates.push_back((executableFolder / fromExecutable).lexically_normal());
        }
    }
    for (const std::filesystem::path& installed : installedDataFolders) {
        if (installed.is_absolute()) candidates.push_back(installed);
    }
    return candidates;
}

}  // namespace zelto
