// SPDX-License-Identifier: MIT
// The kept files over Windows' own calls, with the paths in UTF-16 (wide_paths.h). Every file is
// opened sharing reading, writing and deletion, so that one game may replace a file while
// another reads it, as on POSIX systems. The writer is handed a C runtime descriptor over the
// system's handle.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <random>

#include "game/kept_files/kept_file.h"
#include "game/kept_files/new_file_names.h"
#include "game/kept_files/wide_paths.h"

namespace zelto {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool IsSeparator(char letter) {
    return letter == '/' || letter == '\\';
}

std::size_t LastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

// The folder of a path, with its separator, or "." for a bare name.
std::string FolderOf(const std::string& path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::string::npos ? "." : path.substr(0, separator + 1);
}

// The errno that best says why a system call failed, for the messages the game shows.
int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        default:
            return EIO;
    }
}

// Sets errno from the system's last error and answers false, for the calls that fail.
bool Failed() {
    errno = ErrnoOf(GetLastError());
    return false;
}

// Calls `found` with the wide path of each new file of `path`, until it returns false.
void ForEachNewFile(const std::string& path,
                    const std::function<bool(const std::wstring&)>& found) {
    const std::size_t separator = LastSeparator(path);
    const std::string start = (separator == std::string::npos ? path : path.substr(separator + 1)) +
                              std::string(kNewFileSuffix);
    const std::string folder = FolderOf(path);
    const std::wstring wideFolder = WidePath(folder == "." ? std::string(".\\") : folder);
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((wideFolder + L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (IsNewFileName(Utf8Path(entry.cFileName), start) &&
            !found(wideFolder + entry.cFileName)) {
            break;
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

// A C runtime descriptor that owns the handle, for the writer; -1 (the handle closed) when the
// runtime has none to give.
int DescriptorOf(HANDLE handle, int flags) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}

}  // namespace

bool WriteAllBytes(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        constexpr std::size_t kMostAtOnce = 1u << 30;
        const unsigned count = static_cast<unsigned>(std::min(bytes.size(), kMostAtOnce));
        const int written = _write(fd, bytes.data(), count);
        if (written <= 0) {
            if (written == 0) errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void WarnOnStderr(const std::string& line) {
    std::fprintf(stderr, "zelto: %s\n", line.c_str());
}

bool MakeFolders(const std::string& folder) {
    // Past the drive ("C:\") or the share ("\\server\share\"), each folder in turn.
    std::size_t from = 0;
    if (folder.size() >= 2 && folder[1] == ':') {
        from = 3;
    } else if (folder.size() >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1])) {
        const std::size_t server = folder.find_first_of("/\\", 2);
        from =
            server == std::string::npos ? folder.size() : folder.find_first_of("/\\", server + 1);
    }
    for (std::size_t separator = folder.find_first_of("/\\", from);;
         separator = folder.find_first_of("/\\", separator + 1)) {
        const std::wstring part = WidePath(folder.substr(0, separator));
        if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS &&
            GetLastError() != ERROR_ACCESS_DENIED) {
            return Failed();
        }
        if (separator == std::string::npos) break;
    }
    const DWORD attributes = GetFileAttributesW(WidePath(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Failed();
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

KeptFileRead ReadKeptFile(const std::string& path, std::size_t largest, std::string& text) {
    text.clear();
    // Backup semantics open a folder too, so that it is told apart below rather than refused
    // as unreadable.
    const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        errno = ErrnoOf(error);
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? KeptFileRead::kMissing
                   : KeptFileRead::kUnreadable;
    }
    // The type is taken from the handle, so the file checked is the file read: a pipe, a
    // console or a folder is no file this program wrote.
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(file);
        return KeptFileRead::kNotRegular;
    }
    KeptFileRead result = KeptFileRead::kRead;
    char buffer[4096];
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &count, nullptr)) {
            errno = ErrnoOf(GetLastError());
            result = KeptFileRead::kUnreadable;
            break;
        }
        if (count == 0) break;
        if (text.size() + count > largest) {
            result = KeptFileRead::kTooLarge;
            break;
        }
        text.append(buffer, count);
    }
    const int error = errno;
    CloseHandle(file);
    errno = error;
    return result;
}

int ReplaceKeptFile(const std::string& path, std::string_view bytes, const KeptFileWriter& writer) {
    const std::wstring target = WidePath(path);
    // A new file beside the kept one, under a name no other writer holds: made only where none
    // stands, with six new letters and digits after each refusal.
    constexpr char kMarks[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device source;
    std::uniform_int_distribution<std::size_t> mark(0, sizeof kMarks - 2);
    std::wstring fresh;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        std::string marks;
        for (std::size_t i = 0; i < kNewFileMarks; ++i) marks += kMarks[mark(source)];
        fresh = WidePath(path + std::string(kNewFileSuffix) + marks);
        file = CreateFileW(fresh.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) return ErrnoOf(GetLastError());
    const int fd = DescriptorOf(file, _O_WRONLY);
    if (fd < 0) {
        DeleteFileW(fresh.c_str());
        return errno;
    }
    int error = 0;
    // _commit flushes the file to the disk, as fsync does.
    if (!writer(fd, bytes) || _commit(fd) != 0) error = errno;
    if (_close(fd) != 0 && error == 0) error = errno;
    // Write-through: the rename is on the disk when the call returns.
    if (error == 0 && !MoveFileExW(fresh.c_str(), target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = ErrnoOf(GetLastError());
    }
    if (error != 0) {
        DeleteFileW(fresh.c_str());
        return error;
    }
    return 0;
}

KeptFileLock::KeptFileLock(const std::string& lockPath) : fd_(-1) {
    const HANDLE file =
        CreateFileW(WidePath(lockPath).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Failed();
        return;
    }
    // The whole file's range, waited for as flock waits.
    OVERLAPPED from{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &from)) {
        Failed();
        CloseHandle(file);
        return;
    }
    fd_ = DescriptorOf(file, _O_RDWR);
}

KeptFileLock::~KeptFileLock() {
    // Closing the handle gives the lock back.
    if (fd_ >= 0) _close(fd_);
}

bool HasLeftNewFiles(const std::string& path) {
    bool any = false;
    ForEachNewFile(path, [&any](const std::wstring&) {
        any = true;
        return false;
    });
    return any;
}

void RemoveLeftNewFiles(const std::string& path) {
    // A name that cannot be removed stays for the next write to try again; nothing depends on
    // it being gone.
    ForEachNewFile(path, [](const std::wstring& name) {
        DeleteFileW(name.c_str());
        return true;
    });
}

}  // namespace zelto
