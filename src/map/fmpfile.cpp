// SPDX-License-Identifier: MIT
#include "map/fmpfile.h"

#include <cstring>
#include <new>

namespace cdx {

namespace {

constexpr std::size_t kContainerHeaderBytes = 12;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kMapHeaderBytes = 24;
constexpr std::size_t kColorMapBytes = 256 * 3;
constexpr std::uint8_t kEndMarkerType = 0xFF;

std::uint32_t ReadU32BigEndian(const std::uint8_t* at) {
    return (std::uint32_t{at[0]} << 24) | (std::uint32_t{at[1]} << 16) |
           (std::uint32_t{at[2]} << 8) | std::uint32_t{at[3]};
}

std::int32_t ReadI32LittleEndian(const std::uint8_t* at) {
    return static_cast<std::int32_t>(std::uint32_t{at[0]} | (std::uint32_t{at[1]} << 8) |
                                     (std::uint32_t{at[2]} << 16) | (std::uint32_t{at[3]} << 24));
}

std::int16_t ReadI16LittleEndian(const std::uint8_t* at) {
    return static_cast<std::int16_t>(std::uint16_t{at[0]} | (std::uint16_t{at[1]} << 8));
}

bool TagIs(const std::uint8_t* at, const char* tag) {
    return std::memcmp(at, tag, 4) == 0;
}

}  // namespace

std::int32_t FmpFile::Parse(std::span<const std::uint8_t> file) {
    const std::size_t size = file.size();
    if (size < kChunkHeaderBytes || !TagIs(file.data(), "FORM") ||
        std::uint64_t{ReadU32BigEndian(file.data() + 4)} + 8 != size) {
        return kFmpBadFile;
    }
    if (size < kContainerHeaderBytes || !TagIs(file.data() + 8, "FMAP")) return kFmpBadFile;

    std::size_t position = kContainerHeaderBytes;
    while (position != size) {
        const std::size_t left = size - position;
        if (left < kChunkHeaderBytes) {
            ReleaseBuffers();
            return kFmpBadFile;
        }
        const std::uint8_t* chunk = file.data() + position;
        const std::uint32_t length = ReadU32BigEndian(chunk + 4);
        // A payload that runs past the end of the file is refused before anything is allocated
        // for it, so a header claiming gigabytes costs nothing.
        if (length > left - kChunkHeaderBytes) {
            ReleaseBuffers();
            return kFmpBadFile;
        }
        const char identifier[5] = {static_cast<char>(chunk[0]), static_cast<char>(chunk[1]),
                                    static_cast<char>(chunk[2]), static_cast<char>(chunk[3]), 0};
        try {
            if (!ReadChunk(identifier, file.subspan(position + kChunkHeaderBytes, length))) {
                ReleaseBuffers();
                return kFmpBadFile;
            }
        } catch (const std::bad_alloc&) {
            ReleaseBuffers();
            return kFmpOutOfMemory;
        }
        position += kChunkHeaderBytes + length;
    }
    return kFmpNoError;
}

bool FmpFile::ReadChunk(const char* identifier, std::span<const std::uint8_t> payload) {
    if (std::strcmp(identifier, "MPHD") == 0) return ReadHeaderChunk(payload);
    if (std::strcmp(identifier, "CMAP") == 0) return ReadColorMapChunk(payload);
    if (std::strcmp(identifier, "BKDT") == 0) return KeepChunk(payload, BlockRecords);
    if (std::strcmp(identifier, "BGFX") == 0) return KeepChunk(payload, Graphics);
    if (std::strcmp(identifier, "ANDT") == 0) {
        HasAnimations = true;
        return KeepChunk(payload, Animations);
    }
    if (std::strcmp(identifier, "BODY") == 0) return KeepChunk(payload, Layers[0]);
    if (std::strncmp(identifier, "LYR", 3) == 0 && identifier[3] >= '1' && identifier[3] <= '7') {
        return KeepChunk(payload, Layers[identifier[3] - '0']);
    }
    return true;  // not a chunk of the map: skipped
}

bool FmpFile::ReadHeaderChunk(std::span<const std::uint8_t> payload) {
    if (payload.size() < kMapHeaderBytes) return false;
    const std::uint8_t* at = payload.data();
    Header.MapWidth = ReadI16LittleEndian(at + 4);
    Header.MapHeight = ReadI16LittleEndian(at + 6);
    Header.BlockWidth = ReadI16LittleEndian(at + 12);
    Header.BlockHeight = ReadI16LittleEndian(at + 14);
    Header.BlockDepth = ReadI16LittleEndian(at + 16);
    Header.BlockRecordSize = ReadI16LittleEndian(at + 18);
    Header.BlockRecordCount = ReadI16LittleEndian(at + 20);
    Header.BlockGraphicCount = ReadI16LittleEndian(at + 22);
    return true;
}

bool FmpFile::ReadColorMapChunk(std::span<const std::uint8_t> payload) {
    if (payload.size() < kColorMapBytes) return false;
    for (std::size_t i = 0; i < Palette.size(); ++i) {
        Palette[i] =
            platform::PALETTEENTRY{payload[3 * i], payload[3 * i + 1], payload[3 * i + 2], 0};
    }
    return true;
}

bool FmpFile::KeepChunk(std::span<const std::uint8_t> payload, std::vector<std::uint8_t>& buffer) {
    buffer.assign(payload.begin(), payload.end());
    return true;
}

void FmpFile::ReleaseBuffers() {
    HasAnimations = false;
    BlockRecords = {};
    Animations = {};
    Graphics = {};
    for (auto& layer : Layers) layer = {};
    Blocks = {};
    FrameBlocks = {};
    Anims = {};
}

std::int64_t FmpFile::GraphicSize() const {
    return std::int64_t{BytesPerBlockPixel()} * Header.BlockWidth * Header.BlockHeight;
}

const std::uint8_t* FmpFile::GraphicPixels(int graphic) const {
    return Graphics.data() + graphic * GraphicSize();
}

std::int32_t FmpFile::GraphicOfOffset(std::int32_t offset) const {
    if (offset < 0) return FmpBlock::kNoGraphic;
    const std::int64_t graphic = offset / GraphicSize();
    return graphic < Header.BlockGraphicCount ? static_cast<std::int32_t>(graphic)
                                              : FmpBlock::kNoGraphic;
}

std::int32_t FmpFile::Resolve() {
    const FmpHeader& h = Header;
    const bool knownDepth = h.BlockDepth == 8 || h.BlockDepth == 15 || h.BlockDepth == 16 ||
                            h.BlockDepth == 24 || h.BlockDepth == 32;
    const bool sane = knownDepth && h.MapWidth > 0 && h.MapHeight > 0 && h.BlockWidth > 0 &&
                      h.BlockHeight > 0 && h.BlockRecordCount >= 0 && h.BlockGraphicCount > 0 &&
                      h.BlockGraphicCount <= kMostBlockGraphics;
    if (!sane) return kFmpBadFile;
    if (std::int64_t(Graphics.size()) < GraphicSize() * h.BlockGraphicCount ||
        std::int64_t(BlockRecords.size()) < std::int64_t{kBlockRecordBytes} * h.BlockRecordCount) {
        return kFmpBadFile;
    }
    try {
        if (!ResolveBlocks() || !ResolveAnimations() || !CheckLayerZero()) return kFmpBadFile;
    } catch (const std::bad_alloc&) {
        return kFmpOutOfMemory;
    }
    return kFmpNoError;
}

bool FmpFile::ResolveBlocks() {
    Blocks.assign(static_cast<std::size_t>(Header.BlockRecordCount), FmpBlock{});
    for (std::size_t k = 0; k < Blocks.size(); ++k) {
        const std::uint8_t* record = BlockRecords.data() + kBlockRecordBytes * k;
        FmpBlock& block = Blocks[k];
        block.BaseGraphic = GraphicOfOffset(ReadI32LittleEndian(record));
        if (block.BaseGraphic == FmpBlock::kNoGraphic) return false;
        for (std::size_t f = 0; f < block.FurtherGraphics.size(); ++f) {
            const std::int32_t offset = ReadI32LittleEndian(record + 4 * (f + 1));
            if (offset == 0) continue;
            block.FurtherGraphics[f] = GraphicOfOffset(offset);
            if (block.FurtherGraphics[f] == FmpBlock::kNoGraphic) return false;
        }
    }
    return true;
}

bool FmpFile::ResolveAnimations() {
    if (!HasAnimations) return true;
    const std::int64_t size = static_cast<std::int64_t>(Animations.size());
    std::int64_t marker = size - kAnimRecordBytes;
    while (marker >= 0 && Animations[marker] != kEndMarkerType) marker -= kAnimRecordBytes;
    if (marker < 0 || marker % 4 != 0) return false;

    FrameBlocks.resize(static_cast<std::size_t>(marker / 4));
    for (std::size_t e = 0; e < FrameBlocks.size(); ++e) {
        const std::int32_t offset = ReadI32LittleEndian(Animations.data() + 4 * e);
        if (offset < 0 || offset / kBlockRecordBytes >= Header.BlockRecordCount) return false;
        FrameBlocks[e] = offset / kBlockRecordBytes;
    }

    // A frame position counts back from the end of the chunk; it names the frame-list entry
    // that holds the byte it points at, and only entries before the end marker are frames.
    auto entryAt = [&](std::int32_t position, std::int32_t& entry) {
        const std::int64_t byte = size + position;
        if (byte < 0 || byte >= marker) return false;
        entry = static_cast<std::int32_t>(byte / 4);
        return true;
    };
    Anims.resize(static_cast<std::size_t>((size - marker) / kAnimRecordBytes - 1));
    for (std::size_t a = 0; a < Anims.size(); ++a) {
        const std::uint8_t* record = Animations.data() + size - kAnimRecordBytes * (a + 1);
        FmpAnim& anim = Anims[a];
        if (!entryAt(ReadI32LittleEndian(record + 4), anim.CurrentFrame) ||
            !entryAt(ReadI32LittleEndian(record + 8), anim.SecondFrame) ||
            !entryAt(ReadI32LittleEndian(record + 12), anim.ThirdFrame)) {
            return false;
        }
    }
    return true;
}

bool FmpFile::CheckLayerZero() const {
    const std::int64_t cells = std::int64_t{Header.MapWidth} * Header.MapHeight;
    if (std::int64_t(Layers[0].size()) < 2 * cells) return false;
    for (std::int64_t c = 0; c < cells; ++c) {
        if (BlockOfCell(ReadI16LittleEndian(Layers[0].data() + 2 * c)) == nullptr) return false;
    }
    return true;
}

const FmpBlock* FmpFile::BlockOfCell(std::int16_t cell) const {
    // A cell names the record that holds the byte at its offset: v / 32 into the block records,
    // or counted back from the end of the animation chunk, -1 to -16 being record 0.
    if (cell >= 0) {
        const std::size_t record = static_cast<std::size_t>(cell / kBlockRecordBytes);
        return record < Blocks.size() ? &Blocks[record] : nullptr;
    }
    const std::size_t anim = static_cast<std::size_t>((-cell - 1) / kAnimRecordBytes);
    if (anim >= Anims.size()) return nullptr;
    const std::size_t entry = static_cast<std::size_t>(Anims[anim].CurrentFrame);
    if (entry >= FrameBlocks.size()) return nullptr;
    const std::size_t record = static_cast<std::size_t>(FrameBlocks[entry]);
    return record < Blocks.size() ? &Blocks[record] : nullptr;
}

const FmpBlock* FmpFile::BlockAt(std::int32_t column, std::int32_t row) const {
    if (column < 0 || row < 0 || column >= Header.MapWidth || row >= Header.MapHeight) {
        return nullptr;
    }
    const std::size_t cell = static_cast<std::size_t>(row) * Header.MapWidth + column;
    if (2 * cell + 1 >= Layers[0].size()) return nullptr;
    return BlockOfCell(ReadI16LittleEndian(Layers[0].data() + 2 * cell));
}

}  // namespace cdx
