// SPDX-License-Identifier: MIT
#include <cstdlib>

#include "game/kept_files/user_folders.h"
#include "game/kept_files/xdg_folders.h"

namespace zelto {

std::optional<std::string> UserDataFolder() {
    return KeptDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::optional<std::string> UserConfigFolder() {
    return KeptConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

const char* NoUserDataFolderReason() {
    return "neither XDG_DATA_HOME nor HOME names a folder";
}

void PointUserDataFolderAt(const std::optional<std::string>& base) {
    if (base) {
        setenv("XDG_DATA_HOME", base->c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
        unsetenv("HOME");
    }
}

std::string MakeTemporaryFolder(const std::string& start) {
    const char* temporary = std::getenv("TMPDIR");
    std::string pattern =
        std::string(temporary && *temporary ? temporary : "/tmp") + "/" + start + "XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

}  // namespace zelto
