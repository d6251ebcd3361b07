// SPDX-License-Identifier: MIT
#include "kept_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace zelto {

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
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? KeptFileRead::kMissing : KeptFileRead::kUnreadable;
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
    const std::string pattern = path + ".new-XXXXXX";
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
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return 0;
}

}  // namespace zelto
