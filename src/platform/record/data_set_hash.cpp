// SPDX-License-Identifier: MIT
#include "platform/record/data_set_hash.h"

#include <xxhash.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "platform/host/regular_file.h"

namespace platform {
namespace {

struct HashStateFree {
    void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
};

bool IsDataFile(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".bmp" || extension == ".wav" || extension == ".fmp";
}

}  // namespace

std::uint64_t DataSetHash(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
        if (IsDataFile(item.path())) names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    const std::unique_ptr<XXH3_state_t, HashStateFree> state(XXH3_createState());
    XXH3_64bits_reset(state.get());
    std::vector<char> chunk(64 * 1024);
    for (const std::string& name : names) {
        XXH3_64bits_update(state.get(), name.c_str(), name.size() + 1);
        const FileHandle file = OpenRegularFile((folder + "/" + name).c_str());
        if (!file) continue;
        std::size_t read = 0;
        while ((read = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) {
            XXH3_64bits_update(state.get(), chunk.data(), read);
        }
    }
    return XXH3_64bits_digest(state.get());
}

}  // namespace platform
