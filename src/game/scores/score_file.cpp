// SPDX-License-Identifier: MIT
#include "game/scores/score_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

namespace zelto {

namespace {

std::string ErrorText() {
    return std::strerror(errno);
}

}  // namespace

ScoreFile::ScoreFile(std::string folder, KeptFileWriter writer, KeptFileWarner warn)
    : folder_(std::move(folder)), writer_(std::move(writer)), warn_(std::move(warn)) {}

ScoreTable ScoreFile::Enter(const ScoreEntry& entry) {
    ScoreTable table;
    if (!MakeFolders(folder_)) {
        warn_("cannot make the folder " + folder_ + " for the best scores (" + ErrorText() +
              "): this score is not kept");
        table.Enter(entry);
        return table;
    }
    const KeptFileLock lock(folder_ + "/scores.lock");
    if (!lock.Held()) {
        warn_("cannot lock the best scores in " + folder_ + " (" + ErrorText() +
              "): this score is not kept");
        table.Enter(entry);
        return table;
    }
    if (ReadTable(table) == ReadResult::Unreadable) {
        table.Enter(entry);
        return table;
    }
    table.Enter(entry);
    // New files of games killed while they wrote; under the lock, none is another's own.
    RemoveLeftNewFiles(TablePath());
    WriteTable(table);
    return table;
}

ScoreFile::ReadResult ScoreFile::ReadTable(ScoreTable& table) {
    const std::string path = TablePath();
    std::string text;
    const KeptFileRead read = ReadKeptFile(path, kLargestTable, text);
    if (read == KeptFileRead::kMissing) return ReadResult::Table;
    if (read == KeptFileRead::kUnreadable) {
        warn_("cannot read the best scores in " + path + " (" + ErrorText() +
              "): it is left as it is and this score is not kept");
        return ReadResult::Unreadable;
    }
    if (read == KeptFileRead::kRead) {
        if (std::optional<ScoreTable> parsed = ScoreTable::Parse(text)) {
            table = std::move(*parsed);
            return ReadResult::Table;
        }
    }
    // A folder, FIFO or device in the table's place is no table either.
    const std::string damage =
        read == KeptFileRead::kNotRegular ? " are damaged (not a regular file)" : " are damaged";
    const std::string aside = path + ".damaged-" + std::to_string(std::time(nullptr));
    if (rename(path.c_str(), aside.c_str()) != 0) {
        warn_("the best scores in " + path + damage + " and cannot be put aside (" + ErrorText() +
              "): it is left as it is and this score is not kept");
        return ReadResult::Unreadable;
    }
    warn_("the best scores in " + path + damage + ": kept aside as " + aside +
          ", a new table is started");
    return ReadResult::Table;
}

void ScoreFile::WriteTable(const ScoreTable& table) {
    const std::string path = TablePath();
    const int error = ReplaceKeptFile(path, table.Format(), writer_);
    if (error != 0) {
        warn_("cannot write the best scores to " + path + " (" + std::strerror(error) +
              "): the old table is kept");
    }
}

}  // namespace zelto
