// SPDX-License-Identifier: MIT
#include <windows.h>

#include <cstdlib>
#include <random>

#include "game/kept_files/user_folders.h"
#include "game/kept_files/wide_paths.h"

namespace zelto {

namespace {

// The user's roaming application data folder, as the environment names it (so that a replay
// can point it elsewhere): the folder zelto in it keeps the scores and the settings.
std::optional<std::string> ApplicationDataFolder() {
    const wchar_t* folder = _wgetenv(L"APPDATA");
    // Only an absolute folder counts: a drive's "C:\..." or a share's "\\server\...".
    if (folder == nullptr) return std::nullopt;
    const bool onDrive =
        folder[0] != L'\0' && folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/');
    const bool onShare = folder[0] == L'\\' && folder[1] == L'\\';
    if (!onDrive && !onShare) return std::nullopt;
    return Utf8Path(folder) + "\\zelto";
}

}  // namespace

std::optional<std::string> UserDataFolder() {
    return ApplicationDataFolder();
}

std::optional<std::string> UserConfigFolder() {
    return ApplicationDataFolder();
}

const char* NoUserDataFolderReason() {
    return "APPDATA names no folder";
}

void PointUserDataFolderAt(const std::optional<std::string>& base) {
    // An empty value removes the variable.
    _wputenv_s(L"APPDATA", base ? WidePath(*base).c_str() : L"");
}

std::string MakeTemporaryFolder(const std::string& start) {
    // The temporary folder of the user's own profile, which other users cannot read.
    wchar_t temporary[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
    if (length == 0 || length > MAX_PATH) return {};
    constexpr char kMarks[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device source;
    std::uniform_int_distribution<std::size_t> mark(0, sizeof kMarks - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = start;
        for (int i = 0; i < 6; ++i) name += kMarks[mark(source)];
        const std::wstring folder = temporary + WidePath(name);
        if (CreateDirectoryW(folder.c_str(), nullptr)) return Utf8Path(folder.c_str());
        if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}

}  // namespace zelto
