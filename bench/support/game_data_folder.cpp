// SPDX-License-Identifier: MIT
#include "game_data_folder.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace bench {

bool EnterGameDataFolder(const char* program) {
    std::error_code error;
    std::filesystem::current_path(ZELTO_GAME_DIR, error);
    if (!error) return true;
    std::fprintf(stderr, "%s: no game data in %s\n", program, ZELTO_GAME_DIR);
    return false;
}

}  // namespace bench
