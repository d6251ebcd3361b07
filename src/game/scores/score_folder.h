#pragma once

// Where the best scores are kept: $XDG_DATA_HOME/zelto, or ~/.local/share/zelto when
// XDG_DATA_HOME is not set or not an absolute path, as the XDG base directory rules say.

#include <optional>
#include <string>

namespace zelto {

// The folder for the given values of XDG_DATA_HOME and HOME (null when unset), or nothing when
// neither names an absolute path.
std::optional<std::string> ScoreFolder(const char* xdgDataHome, const char* home);

}  // namespace zelto
