#include "data_folder.h"

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

std::vector<std::filesystem::path> DataFolderCandidates(
    const std::filesystem::path& executableFolder,
    const std::filesystem::path& dataFolderFromExecutable,
    const std::filesystem::path& installedDataFolder) {
    std::vector<std::filesystem::path> candidates;
    if (!executableFolder.empty()) {
        candidates.push_back(executableFolder);
        if (!dataFolderFromExecutable.empty()) {
            candidates.push_back((executableFolder / dataFolderFromExecutable).lexically_normal());
        }
    }
    if (!installedDataFolder.empty() && installedDataFolder.is_absolute()) {
        candidates.push_back(installedDataFolder);
    }
    return candidates;
}

}  // namespace zelto
