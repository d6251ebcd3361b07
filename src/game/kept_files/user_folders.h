// SPDX-License-Identifier: MIT
#pragma once

// The folders where the game keeps its files for the user who runs it, as this system has them:
// on Linux the XDG folders that the environment names (xdg_folders.h), on Windows the folder
// zelto under %APPDATA%, for the best scores and the settings alike. A replay points this
// process's data folder elsewhere through the same environment, so a recorded run finds the
// scores it found when it was recorded.

#include <optional>
#include <string>

namespace zelto {

// The data folder (the best scores) and the configuration folder (the settings); nothing when
// the environment names neither.
std::optional<std::string> UserDataFolder();
std::optional<std::string> UserConfigFolder();

// Why UserDataFolder() answers nothing, in words the player can act on.
const char* NoUserDataFolderReason();

// From now on, UserDataFolder() of this process is the folder zelto inside `base`, or nothing
// when there is no base.
void PointUserDataFolderAt(const std::optional<std::string>& base);

// A new, empty folder among the system's temporary files, readable by this user alone, its name
// beginning with `start`; empty when none can be made.
std::string MakeTemporaryFolder(const std::string& start);

}  // namespace zelto
