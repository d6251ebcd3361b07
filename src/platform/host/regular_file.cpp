// SPDX-License-Identifier: MIT
#include "platform/host/regular_file.h"

#ifdef _WIN32
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <new>

namespace platform {

FileHandle OpenRegularFile(const char* name, std::uint64_t* size) {
    if (name == nullptr) return nullptr;
#ifdef _WIN32
    // Windows' opens never wait on what they open, and a folder cannot be opened as a stream;
    // the type is taken from the handle opened: a console, a pipe or a device such as NUL is no
    // file on a disk.
    FileHandle file(std::fopen(name, "rb"));
    if (!file) return nullptr;
    const int descriptor = _fileno(file.get());
    struct _stat64 status;
    if (GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(descriptor))) != FILE_TYPE_DISK ||
        _fstat64(descriptor, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG ||
        status.st_size < 0) {
        return nullptr;
    }
    if (size != nullptr) *size = static_cast<std::uint64_t>(status.st_size);
    return file;
#else
    // Without O_NONBLOCK the open itself would wait on a FIFO until a writer opened it; without
    // O_NOCTTY a terminal would become the program's controlling terminal.
    const int descriptor = ::open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    struct stat status;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
        ::close(descriptor);
        return nullptr;
    }
    // Reads from a regular file never wait anyway; the flag is dropped so that the stream sees
    // an ordinary descriptor.
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(descriptor);
        return nullptr;
    }
    FileHandle file(::fdopen(descriptor, "rb"));
    if (!file) {
        ::close(descriptor);
        return nullptr;
    }
    if (size != nullptr) *size = static_cast<std::uint64_t>(status.st_size);
    return file;
#endif
}

FileReadResult ReadRegularFile(const char* name, std::uint64_t mostBytes,
                               std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::uint64_t size = 0;
    const FileHandle file = OpenRegularFile(name, &size);
    if (!file) return FileReadResult::CannotOpen;
    if (size > mostBytes || size > bytes.max_size()) return FileReadResult::TooLarge;
    try {
        bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return FileReadResult::OutOfMemory;
    }
    // The file may have shrunk since its size was taken.
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        bytes.clear();
        return FileReadResult::ReadFailed;
    }
    return FileReadResult::Read;
}

}  // namespace platform
