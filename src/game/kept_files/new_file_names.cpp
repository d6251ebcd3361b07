// SPDX-License-Identifier: MIT
#include "game/kept_files/new_file_names.h"

namespace zelto {

bool IsNewFileName(std::string_view name, std::string_view start) {
    if (name.size() != start.size() + kNewFileMarks || name.substr(0, start.size()) != start) {
        return false;
    }
    for (const char mark : name.substr(start.size())) {
        const bool letterOrDigit = (mark >= 'a' && mark <= 'z') || (mark >= 'A' && mark <= 'Z') ||
                                   (mark >= '0' && mark <= '9');
        if (!letterOrDigit) return false;
    }
    return true;
}

}  // namespace zelto
