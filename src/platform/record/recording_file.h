// SPDX-License-Identifier: MIT
#pragma once

// The file a recording is written to while the program runs. It is made new beside the file
// named (never over anything that exists), written at least once a second, so a run cut short
// leaves a recording that replays up to its last whole picture, and renamed to the name given
// when the recording ends. The header is written as it is, the entries after it as one zlib
// stream, flushed to a whole byte at every write: whatever part of it reaches the disk inflates.

#include <zlib.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class RecordingFile {
public:
    RecordingFile() = default;
    // A file not finished keeps what was written, under its temporary name.
    ~RecordingFile();
    RecordingFile(const RecordingFile&) = delete;
    RecordingFile& operator=(const RecordingFile&) = delete;

    // Makes the temporary file and writes the header; false with the reason when it cannot.
    bool Open(const std::string& path, const std::vector<std::uint8_t>& header,
              std::string& problem);
    // Adds entries, writing them out once a second has passed since the last write.
    void Append(const std::vector<std::uint8_t>& bytes);
    // Writes out what is held now, if anything.
    void Flush();
    // Writes the rest, flushes it to the disk and gives the file its name; false with the reason
    // when anything failed since the file was opened.
    bool Finish(std::string& problem);

    const std::string& TemporaryPath() const { return temporaryPath_; }

private:
    void Fail(const std::string& what);
    // Compresses the pending entries with the given zlib flush mode and writes the result.
    void Deflate(int flush);
    void Write(const std::uint8_t* bytes, std::size_t count);

    int descriptor_ = -1;
    std::string path_;
    std::string temporaryPath_;
    std::vector<std::uint8_t> pending_;
    std::chrono::steady_clock::time_point lastWrite_;
    std::string problem_;
    z_stream stream_{};
    bool streamOpen_ = false;
    std::vector<std::uint8_t> compressed_;
};

}  // namespace platform
