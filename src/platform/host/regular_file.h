// SPDX-License-Identifier: MIT
#pragma once

// Outside files opened for reading only when they are regular files. Nothing else can be read
// as data: a folder reports a length no read gives, opening a FIFO waits for a writer that may
// never come, and a device such as /dev/zero never ends. The type is taken from the descriptor
// opened (without waiting), so the file checked is the file read.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace platform {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// name opened for reading in binary mode, positioned at its start; null when it cannot be
// opened or is not a regular file. size, when given, receives its length in bytes.
FileHandle OpenRegularFile(const char* name, std::uint64_t* size = nullptr);

enum class FileReadResult { Read, CannotOpen, TooLarge, ReadFailed, OutOfMemory };

// The whole of the regular file name into bytes. A file longer than mostBytes is refused before
// anything is allocated for it; bytes is left empty on any refusal.
FileReadResult ReadRegularFile(const char* name, std::uint64_t mostBytes,
                               std::vector<std::uint8_t>& bytes);

}  // namespace platform
