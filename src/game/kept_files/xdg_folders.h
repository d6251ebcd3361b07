// SPDX-License-Identifier: MIT
#pragma once

// Where the game keeps its files between runs, as the XDG base directory rules say: the best
// scores under $XDG_DATA_HOME/zelto (~/.local/share/zelto when XDG_DATA_HOME is unset or not an
// absolute path), the settings under $XDG_CONFIG_HOME/zelto (~/.config/zelto likewise).

#include <optional>
#include <string>

namespace zelto {

// The folders for the given values of the XDG variable and HOME (null when unset), or nothing
// when neither names an absolute path.
std::optional<std::string> KeptDataFolder(const char* xdgDataHome, const char* home);
std::optional<std::string> KeptConfigFolder(const char* xdgConfigHome, const char* home);

}  // namespace zelto
