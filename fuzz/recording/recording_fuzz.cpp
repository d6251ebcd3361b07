// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the recording reader twice: as a whole file, the way a replay reads
// one (header, inflation, every entry checked), and as the entries a file inflates to, where
// most of the decoding is and where a random file seldom reaches. A recording that loads must
// be consistent: its entries decode again, to exactly its count of whole pictures.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/record/loaded_recording.h"
#include "platform/record/recording_decoder.h"

using namespace platform;

namespace {

std::uint64_t CountFrames(std::span<const std::uint8_t> entries) {
    RecordingDecoder decoder(entries);
    Entry entry;
    std::uint64_t frames = 0;
    while (decoder.ReadEntry(entry) == RecordingDecoder::Result::Read) {
        if (entry.kind == EntryKind::Frame) ++frames;
    }
    return frames;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string problem;
    const auto recording =
        LoadedRecording::Parse(std::vector<std::uint8_t>(data, data + size), problem);
    if (recording && CountFrames(recording->Entries()) != recording->Frames()) std::abort();
    if (!recording && problem.empty()) std::abort();
    CountFrames(std::span<const std::uint8_t>(data, size));
    return 0;
}
