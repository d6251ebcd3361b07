// SPDX-License-Identifier: MIT
#include "platform/record/loaded_recording.h"

#include <zlib.h>

#include <algorithm>

#include "platform/host/regular_file.h"
#include "platform/record/recording_decoder.h"

namespace platform {

std::optional<LoadedRecording> LoadedRecording::Load(const std::string& path,
                                                     std::string& problem) {
    std::vector<std::uint8_t> bytes;
    switch (ReadRegularFile(path.c_str(), kLargestFile, bytes)) {
        case FileReadResult::Read:
            break;
        case FileReadResult::CannotOpen:
            problem = "cannot open the recording '" + path + "' (missing, or not a file)";
            return std::nullopt;
        case FileReadResult::TooLarge:
            problem = "the recording '" + path + "' is too large to be one";
            return std::nullopt;
        case FileReadResult::ReadFailed:
        case FileReadResult::OutOfMemory:
            problem = "cannot read the recording '" + path + "'";
            return std::nullopt;
    }
    std::optional<LoadedRecording> recording = Parse(std::move(bytes), problem);
    if (!recording) problem = "the recording '" + path + "' " + problem;
    return recording;
}

bool LoadedRecording::Inflate(std::span<const std::uint8_t> compressed, std::string& problem) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        problem = "cannot be inflated";
        return false;
    }
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    constexpr std::size_t kStep = 256 * 1024;
    const std::size_t most =
        std::min(kLargestEntries, kInflationMargin + kMostInflation * compressed.size());
    int result = Z_OK;
    while (result == Z_OK) {
        if (entries_.size() >= most) {
            result = Z_MEM_ERROR;
            break;
        }
        const std::size_t done = entries_.size();
        const std::size_t step = std::min(kStep, most - done);
        entries_.resize(done + step);
        stream.next_out = entries_.data() + done;
        stream.avail_out = static_cast<uInt>(step);
        result = inflate(&stream, Z_SYNC_FLUSH);
        entries_.resize(done + step - stream.avail_out);
        // All input taken and the output not filled: the stream was cut here.
        if (result == Z_BUF_ERROR ||
            (result == Z_OK && stream.avail_in == 0 && stream.avail_out != 0)) {
            result = Z_BUF_ERROR;
        }
    }
    const std::size_t used = compressed.size() - stream.avail_in;
    inflateEnd(&stream);
    switch (result) {
        case Z_STREAM_END:
            if (used != compressed.size()) {
                problem = "is damaged: bytes follow its entries";
                return false;
            }
            streamEnded_ = true;
            return true;
        case Z_BUF_ERROR:
            return true;
        case Z_MEM_ERROR:
            problem = "inflates to more than a recording of its size holds";
            return false;
        default:
            problem = "is damaged: its entries cannot be inflated past byte " +
                      std::to_string(used) + " of them";
            return false;
    }
}

std::optional<LoadedRecording> LoadedRecording::Parse(std::vector<std::uint8_t> bytes,
                                                      std::string& problem) {
    LoadedRecording recording;
    RecordingDecoder header(bytes);
    switch (header.ReadHeader(recording.header_)) {
        case RecordingDecoder::Result::Read:
            break;
        case RecordingDecoder::Result::Damaged:
            problem = "cannot be read: " + header.Problem();
            return std::nullopt;
        case RecordingDecoder::Result::Exhausted:
        case RecordingDecoder::Result::Truncated:
            problem = "is cut short within its header";
            return std::nullopt;
    }
    if (!recording.Inflate(std::span<const std::uint8_t>(bytes).subspan(header.Offset()),
                           problem)) {
        return std::nullopt;
    }
    RecordingDecoder decoder(recording.entries_);
    Entry entry;
    for (;;) {
        const RecordingDecoder::Result result = decoder.ReadEntry(entry);
        if (result == RecordingDecoder::Result::Read) {
            if (entry.kind == EntryKind::Frame) {
                ++recording.frames_;
                recording.entriesEnd_ = decoder.Offset();
            } else if (entry.kind == EntryKind::End) {
                if (decoder.Offset() != recording.entries_.size()) {
                    problem = "is damaged: entries follow its end";
                    return std::nullopt;
                }
                // Whole only with the stream's own end and checksum; else cut like any other.
                if (recording.streamEnded_) {
                    recording.entriesEnd_ = decoder.Offset();
                    recording.whole_ = true;
                }
                return recording;
            }
            continue;
        }
        if (result == RecordingDecoder::Result::Damaged) {
            problem = "is damaged after frame " + std::to_string(recording.frames_) + ": " +
                      decoder.Problem();
            return std::nullopt;
        }
        // Cut short, within an entry or between two: whole up to its last picture.
        return recording;
    }
}

std::span<const std::uint8_t> LoadedRecording::Entries() const {
    return std::span<const std::uint8_t>(entries_).first(entriesEnd_);
}

}  // namespace platform
