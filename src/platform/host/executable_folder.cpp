// SPDX-License-Identifier: MIT
#include "platform/host/executable_folder.h"

#ifdef _WIN32
#include <windows.h>

#include <string>
#endif

#include <system_error>

namespace platform {

std::filesystem::path ExecutableFolder() {
#ifdef _WIN32
    // The buffer grows until the whole path fits: a longer one is cut short without an error.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path).parent_path();
        }
        path.resize(path.size() * 2);
    }
#else
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return executable.parent_path();
#endif
}

}  // namespace platform
