// SPDX-License-Identifier: MIT
#include "platform/record/recording_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {

constexpr auto kWriteInterval = std::chrono::seconds(1);
// Held bytes are written out at once past this, whatever the time.
constexpr std::size_t kMostHeld = 256 * 1024;

bool FlushToDisk(int descriptor) {
#ifdef _WIN32
    return _commit(descriptor) == 0;
#else
    return ::fsync(descriptor) == 0;
#endif
}

// Gives the file its name, in place of a file that has it.
bool RenameOver(const std::string& from, const std::string& to) {
#ifdef _WIN32
    // Windows' rename refuses a name a file has: the system's move replaces it.
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

RecordingFile::~RecordingFile() {
    if (descriptor_ < 0) return;
    Flush();
    ::close(descriptor_);
    if (streamOpen_) deflateEnd(&stream_);
}

void RecordingFile::Fail(const std::string& what) {
    if (problem_.empty()) problem_ = what + ": " + std::strerror(errno);
}

bool RecordingFile::Open(const std::string& path, const std::vector<std::uint8_t>& header,
                         std::string& problem) {
    path_ = path;
    std::string pattern = path + ".XXXXXX";
    descriptor_ = ::mkstemp(pattern.data());
    if (descriptor_ < 0) {
        problem = "cannot make a file beside '" + path + "': " + std::strerror(errno);
        return false;
    }
#ifdef _WIN32
    // The file holds compressed bytes: no line ends may be turned into the system's own.
    _setmode(descriptor_, _O_BINARY);
#else
    ::fchmod(descriptor_, 0644);
#endif
    temporaryPath_ = pattern;
    lastWrite_ = std::chrono::steady_clock::now();
    streamOpen_ = deflateInit(&stream_, Z_BEST_COMPRESSION) == Z_OK;
    if (!streamOpen_) {
        problem = "cannot start compressing the recording";
        return false;
    }
    Write(header.data(), header.size());
    if (!problem_.empty()) {
        problem = problem_;
        return false;
    }
    return true;
}

void RecordingFile::Append(const std::vector<std::uint8_t>& bytes) {
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    if (pending_.size() > kMostHeld ||
        std::chrono::steady_clock::now() - lastWrite_ >= kWriteInterval) {
        Flush();
    }
}

void RecordingFile::Flush() {
    lastWrite_ = std::chrono::steady_clock::now();
    if (!pending_.empty()) Deflate(Z_SYNC_FLUSH);
}

void RecordingFile::Deflate(int flush) {
    if (!streamOpen_) return;
    stream_.next_in = pending_.data();
    stream_.avail_in = static_cast<uInt>(pending_.size());
    compressed_.resize(deflateBound(&stream_, pending_.size()) + 64);
    int result = Z_OK;
    do {
        stream_.next_out = compressed_.data();
        stream_.avail_out = static_cast<uInt>(compressed_.size());
        result = deflate(&stream_, flush);
        Write(compressed_.data(), compressed_.size() - stream_.avail_out);
    } while (stream_.avail_out == 0 || (flush == Z_FINISH && result == Z_OK));
    pending_.clear();
}

void RecordingFile::Write(const std::uint8_t* bytes, std::size_t count) {
    if (descriptor_ < 0 || !problem_.empty()) return;
    std::size_t written = 0;
    while (written < count) {
        const ssize_t done = ::write(descriptor_, bytes + written, count - written);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) {
            Fail("cannot write the recording '" + temporaryPath_ + "'");
            return;
        }
        written += static_cast<std::size_t>(done);
    }
}

bool RecordingFile::Finish(std::string& problem) {
    if (descriptor_ < 0) {
        problem = "the recording was never opened";
        return false;
    }
    Deflate(Z_FINISH);
    deflateEnd(&stream_);
    streamOpen_ = false;
    if (problem_.empty() && !FlushToDisk(descriptor_)) {
        Fail("cannot write the recording '" + temporaryPath_ + "'");
    }
    ::close(descriptor_);
    descriptor_ = -1;
    if (problem_.empty() && !RenameOver(temporaryPath_, path_)) {
        Fail("cannot name the recording '" + path_ + "'");
    }
    problem = problem_;
    return problem_.empty();
}

}  // namespace platform
