#include "score_folder.h"

namespace zelto {

namespace {

bool IsAbsolutePath(const char* path) {
    return path != nullptr && path[0] == '/';
}

}  // namespace

std::optional<std::string> ScoreFolder(const char* xdgDataHome, const char* home) {
    if (IsAbsolutePath(xdgDataHome)) return std::string(xdgDataHome) + "/zelto";
    if (IsAbsolutePath(home)) return std::string(home) + "/.local/share/zelto";
    return std::nullopt;
}

}  // namespace zelto
