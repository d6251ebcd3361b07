// SPDX-License-Identifier: MIT
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "game/kept_files/kept_file.h"
#include "game/kept_files/new_file_names.h"

namespace zelto {

namespace {

// The folder of a path, with its slash, or "." for a bare name.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

// Calls `found` with the open folder and the name of each new file of `path` in it, until it
// returns false.
void ForEachNewFile(const std::string& path,
                    const std::function<bool(int folderFd, const char* name)>& found) {
    const std::size_t slash = path.rfind('/');
    const std::string start =
        (slash == std::string::npos ? path : path.substr(slash + 1)) + std::string(kNewFileSuffix);
    DIR* folder = opendir(FolderOf(path).c_str());
    if (folder == nullptr) return;
    while (const dirent* entry = readdir(folder)) {
        if (IsNewFileName(entry->d_name, start) && !found(dirfd(folder), entry->d_name)) break;
    }
    closedir(folder);
}

}  // namespace

bool WriteAllBytes(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            if (count == 0) errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

void WarnOnStderr(const std::string& line) {
    std::fprintf(stderr, "zelto: %s\n", line.c_str());
}

bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0) return false;
    if (!S_ISDIR(status.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

KeptFileRead ReadKeptFile(const std::string& path, std::size_t largest, std::string& text) {
    text.clear();
    // O_NONBLOCK lets the open of a FIFO return at once, writer or not; O_NOCTTY keeps a
    // terminal from becoming the program's controlling terminal.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? KeptFileRead::kMissing : KeptFileRead::kUnreadable;
    // The type is taken from the descriptor, so the file checked is the file read. Reads of a
    // regular file never wait, O_NONBLOCK or not.
    struct stat status {};
    if (fstat(fd, &status) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        return KeptFileRead::kUnreadable;
    }
    if (!S_ISREG(status.st_mode)) {
        close(fd);
        return KeptFileRead::kNotRegular;
    }
    KeptFileRead result = KeptFileRead::kRead;
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) result = KeptFileRead::kUnreadable;
        if (count <= 0) break;
        if (text.size() + static_cast<std::size_t>(count) > largest) {
            result = KeptFileRead::kTooLarge;
            break;
        }
        text.append(buffer, static_cast<std::size_t>(count));
    }
    const int error = errno;
    close(fd);
    errno = error;
    return result;
}

int ReplaceKeptFile(const std::string& path, std::string_view bytes, const KeptFileWriter& writer) {
    // mkostemp puts its letters and digits in place of the Xs.
    const std::string pattern =
        path + std::string(kNewFileSuffix) + std::string(kNewFileMarks, 'X');
    std::vector<char> fresh(pattern.begin(), pattern.end());
    fresh.push_back('\0');
    const int fd = mkostemp(fresh.data(), O_CLOEXEC);
    if (fd < 0) return errno;
    int error = 0;
    // mkostemp makes the file for its owner alone; a kept file is readable as any other.
    if (fchmod(fd, 0644) != 0 || !writer(fd, bytes) || fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && rename(fresh.data(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        unlink(fresh.data());
        return error;
    }
    // The rename itself is on the disk once the folder is.
    const int folderFd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return 0;
}

KeptFileLock::KeptFileLock(const std::string& lockPath)
    : fd_(open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (fd_ < 0) return;
    while (flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const int error = errno;
            close(fd_);
            fd_ = -1;
            errno = error;
            return;
        }
    }
}

KeptFileLock::~KeptFileLock() {
    if (fd_ >= 0) close(fd_);
}

bool HasLeftNewFiles(const std::string& path) {
    bool any = false;
    ForEachNewFile(path, [&any](int, const char*) {
        any = true;
        return false;
    });
    return any;
}

void RemoveLeftNewFiles(const std::string& path) {
    // A name that cannot be removed stays for the next write to try again; nothing depends on
    // it being gone.
    ForEachNewFile(path, [](int folderFd, const char* name) {
        unlinkat(folderFd, name, 0);
        return true;
    });
}

}  // namespace zelto
