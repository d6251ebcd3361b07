// SPDX-License-Identifier: MIT
#pragma once

// The small text files the game keeps between runs (the best scores, the settings), read and
// written over plain POSIX calls so that no failure goes unseen: a file is read whole up to a
// size no kept file comes near, and replaced whole by writing a new file beside it (a name of
// its own for each writer, so that two games writing at once never write into one file),
// flushing it to the disk and renaming it over the old one, so the path holds the old text or
// the new one whatever happens meanwhile.

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
};

// Reads the file into `text`.
KeptFileRead ReadKeptFile(const std::string& path, std::size_t largest, std::string& text);

// Replaces the file's content with the bytes through a new file `path.new-XXXXXX`; 0, or the
// errno of the step that failed, in which case the old file is left as it was and the new one
// is removed.
int ReplaceKeptFile(const std::string& path, std::string_view bytes, const KeptFileWriter& writer);

}  // namespace zelto
