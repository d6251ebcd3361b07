// SPDX-License-Identifier: MIT
#pragma once

// The file that keeps the best scores, in a folder of its own: `scores` holds the table (see
// score_table.h), `scores.lock` is what games running at once lock around reading, merging and
// writing it. A new table is written beside it, flushed to the disk and renamed over the old
// one (see kept_file.h), so the file holds the old table or the new one whatever happens
// meanwhile; the new files of games killed before their rename are removed at the next entry,
// under the lock. A table that cannot be parsed, or anything but a regular file in its place, is
// kept aside as `scores.damaged-<seconds since 1970>` and a new one is started; a table that
// cannot be read is left as it is. Every trouble is told in one warning line and costs the score
// being entered, never the table.

#include <functional>
#include <string>

#include "game/kept_files/kept_file.h"
#include "game/scores/score_table.h"

namespace zelto {

class ScoreFile {
public:
    // Tables larger than this are not read: no table this program writes comes near it.
    static constexpr std::size_t kLargestTable = 64 * 1024;

    // The folder is made, with its parents, at the first entry. By default the bytes are written
    // with write(2) and warnings go to the error stream.
    explicit ScoreFile(std::string folder, KeptFileWriter writer = WriteAllBytes,
                       KeptFileWarner warn = WarnOnStderr);

    // Enters the score in the kept table, under an exclusive lock; the table with the score in
    // its place, as written or, when it could not be written, as it would have been.
    ScoreTable Enter(const ScoreEntry& entry);

    const std::string& Folder() const { return folder_; }
    std::string TablePath() const { return folder_ + "/scores"; }

private:
    enum class ReadResult { Table, Unreadable };
    ReadResult ReadTable(ScoreTable& table);
    void WriteTable(const ScoreTable& table);

    std::string folder_;
    KeptFileWriter writer_;
    KeptFileWarner warn_;
};

}  // namespace zelto
