// SPDX-License-Identifier: MIT
#include "game/kept_files/wide_paths.h"

#include <windows.h>

namespace zelto {

std::wstring WidePath(const std::string& path) {
    if (path.empty()) return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(),
                        length);
    return wide;
}

std::string Utf8Path(const wchar_t* path) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, path, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path, -1, text.data(), length, nullptr, nullptr);
    text.pop_back();
    return text;
}

}  // namespace zelto
