#include "score_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Makes the folder and its missing parents; true when it stands.
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

// Holds an exclusive lock on the lock file for as long as it lives.
class LockHold {
public:
    explicit LockHold(const std::string& path)
        : fd_(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
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
    ~LockHold() {
        if (fd_ >= 0) close(fd_);
    }
    LockHold(const LockHold&) = delete;
    LockHold& operator=(const LockHold&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_;
};

}  // namespace

ScoreFile::ScoreFile(std::string folder, Writer writer, Warner warn)
    : folder_(std::move(folder)), writer_(std::move(writer)), warn_(std::move(warn)) {}

ScoreTable ScoreFile::Enter(const ScoreEntry& entry) {
    ScoreTable table;
    if (!MakeFolders(folder_)) {
        warn_("cannot make the folder " + folder_ + " for the best scores (" + ErrorText() +
              "): this score is not kept");
        table.Enter(entry);
        return table;
    }
    const LockHold lock(folder_ + "/scores.lock");
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
    WriteTable(table);
    return table;
}

ScoreFile::ReadResult ScoreFile::ReadTable(ScoreTable& table) {
    const std::string path = TablePath();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) return ReadResult::Table;
    std::string text;
    bool readable = fd >= 0;
    if (readable) {
        char buffer[4096];
        for (;;) {
            const ssize_t count = read(fd, buffer, sizeof buffer);
            if (count < 0 && errno == EINTR) continue;
            if (count < 0) readable = false;
            if (count <= 0 || text.size() > kLargestTable) break;
            text.append(buffer, static_cast<std::size_t>(count));
        }
        const int error = errno;
        close(fd);
        errno = error;
    }
    if (!readable) {
        warn_("cannot read the best scores in " + path + " (" + ErrorText() +
              "): it is left as it is and this score is not kept");
        return ReadResult::Unreadable;
    }
    if (text.size() <= kLargestTable) {
        if (std::optional<ScoreTable> parsed = ScoreTable::Parse(text)) {
            table = std::move(*parsed);
            return ReadResult::Table;
        }
    }
    const std::string aside = path + ".damaged-" + std::to_string(std::time(nullptr));
    if (rename(path.c_str(), aside.c_str()) != 0) {
        warn_("the best scores in " + path + " are damaged and cannot be put aside (" +
              ErrorText() + "): it is left as it is and this score is not kept");
        return ReadResult::Unreadable;
    }
    warn_("the best scores in " + path + " are damaged: kept aside as " + aside +
          ", a new table is started");
    return ReadResult::Table;
}

void ScoreFile::WriteTable(const ScoreTable& table) {
    const std::string path = TablePath();
    const std::string fresh = path + ".new";
    int error = 0;
    const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = errno;
    } else {
        if (!writer_(fd, table.Format()) || fsync(fd) != 0) error = errno;
        if (close(fd) != 0 && error == 0) error = errno;
        if (error == 0 && rename(fresh.c_str(), path.c_str()) != 0) error = errno;
    }
    if (error != 0) {
        unlink(fresh.c_str());
        warn_("cannot write the best scores to " + path + " (" + std::strerror(error) +
              "): the old table is kept");
        return;
    }
    // The rename itself is on the disk once the folder is.
    const int folder = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
}

bool ScoreFile::WriteAll(int fd, std::string_view bytes) {
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

void ScoreFile::WarnOnStderr(const std::string& line) {
    std::fprintf(stderr, "zelto: %s\n", line.c_str());
}

}  // namespace zelto
