// SPDX-License-Identifier: MIT
#pragma once

// The small text files the game keeps between runs (the best scores, the settings), read and
// written over the system's plain calls (POSIX's, or Windows' own) so that no failure goes
// unseen: a file is read whole up to a
// size no kept file comes near, and replaced whole by writing a new file beside it (a name of
// its own for each writer, so that two games writing at once never write into one file),
// flushing it to the disk and renaming it over the old one, so the path holds the old text or
// the new one whatever happens meanwhile. Only a regular file is read: a FIFO, a device or a
// folder in its place is told apart without waiting on it, as a file this program never wrote.

#include <functional>
#include <string>
#include <string_view>

namespace zelto {

// Writes all the bytes to the open file; false, with errno set, when it cannot.
using KeptFileWriter = std::function<bool(int fd, std::string_view bytes)>;
// Tells the player, in one line, of a trouble with a kept file.
using KeptFileWarner = std::function<void(const std::string& line)>;

// The writer used outside tests: write(2) until every byte is written.
bool WriteAllBytes(int fd, std::string_view bytes);

// The warner used outside tests: the line, after the program's name, on the error stream.
void WarnOnStderr(const std::string& line);

// Makes the folder and its missing parents; true when it stands (errno says why not).
bool MakeFolders(const std::string& folder);

enum class KeptFileRead {
    kRead,        // the text is the file's whole content
    kMissing,     // there is no such file
    kUnreadable,  // it cannot be opened or read (errno says why)
    kTooLarge,    // larger than the limit: not a file this program wrote
    kNotRegular,  // a folder, FIFO, device or socket: not a file this program wrote
};

// Reads the file into `text`. The open never waits: without O_NONBLOCK, opening a FIFO would
// wait for a writer that may never come, before the game has a window to say so.
KeptFileRead ReadKeptFile(const std::string& path, std::size_t largest, std::string& text);

// Holds an exclusive lock on the lock file (made when missing) for as long as it lives: every
// writer of a kept file holds its lock while its new file exists, so that another game can
// tell the new files of writers killed before their rename from those still being written.
class KeptFileLock {
public:
    explicit KeptFileLock(const std::string& lockPath);
    ~KeptFileLock();
    KeptFileLock(const KeptFileLock&) = delete;
    KeptFileLock& operator=(const KeptFileLock&) = delete;
    // False, with errno set, when the lock file could not be opened or locked.
    bool Held() const { return fd_ >= 0; }

private:
    int fd_;
};

// Whether the folder of `path` holds new files `path.new-XXXXXX` that no rename took over.
bool HasLeftNewFiles(const std::string& path);
// Removes them. Only under the file's lock: a writer that holds it may own one.
void RemoveLeftNewFiles(const std::string& path);

// Replaces the file's content with the bytes through a new file `path.new-XXXXXX`; 0, or the
// errno of the step that failed, in which case the old file is left as it was and the new one
// is removed.
int ReplaceKeptFile(const std::string& path, std::string_view bytes, const KeptFileWriter& writer);

}  // namespace zelto
