// SPDX-License-Identifier: MIT
#include "game/kept_files/xdg_folders.h"

namespace zelto {

namespace {

bool IsAbsolutePath(const char* path) {
    return path != nullptr && path[0] == '/';
}

std::optional<std::string> GameFolder(const char* xdgFolder, const char* home,
                                      const char* homeFallback) {
    if (IsAbsolutePath(xdgFolder)) return std::string(xdgFolder) + "/zelto";
    if (IsAbsolutePath(home)) return std::string(home) + homeFallback + "/zelto";
    return std::nullopt;
}

}  // namespace

std::optional<std::string> KeptDataFolder(const char* xdgDataHome, const char* home) {
    return GameFolder(xdgDataHome, home, "/.local/share");
}

std::optional<std::string> KeptConfigFolder(const char* xdgConfigHome, const char* home) {
    return GameFolder(xdgConfigHome, home, "/.config");
}

}  // namespace zelto
