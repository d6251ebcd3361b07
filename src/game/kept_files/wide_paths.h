// SPDX-License-Identifier: MIT
#pragma once

// Windows names files in UTF-16, the game in UTF-8: the kept files' paths are turned to the
// system's wide calls here, and the folders the system names back to UTF-8. Built on Windows
// alone.

#include <string>

namespace zelto {

std::wstring WidePath(const std::string& path);
std::string Utf8Path(const wchar_t* path);

}  // namespace zelto
