// SPDX-License-Identifier: MIT
#pragma once

// FmpFile: the contents of a tile map file, read from the file's bytes without any platform
// service. Parse walks the "FORM"/"FMAP" chunks and keeps each recognised chunk as a raw byte
// buffer; Resolve then checks everything the map's build step and drawing rely on and turns
// the file's byte offsets into indices, so that nothing afterwards reads outside a buffer.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/host/display_types.h"

namespace cdx {

// The map header (MPHD), as read from the file.
struct FmpHeader {
    std::int16_t MapWidth = 0;         // in blocks
    std::int16_t MapHeight = 0;        // in blocks
    std::int16_t BlockWidth = 0;       // in pixels
    std::int16_t BlockHeight = 0;      // in pixels
    std::int16_t BlockDepth = 0;       // bits per pixel of the block graphics
    std::int16_t BlockRecordSize = 0;  // kept; records are always 32 bytes
    std::int16_t BlockRecordCount = 0;
    std::int16_t BlockGraphicCount = 0;
};

// A block record with its graphic offsets resolved into graphic indices.
struct FmpBlock {
    static constexpr std::int32_t kNoGraphic = -1;
    std::int32_t BaseGraphic = 0;
    std::array<std::int32_t, 3> FurtherGraphics{kNoGraphic, kNoGraphic, kNoGraphic};
};

// An animation record with its three frame positions resolved into frame-list entries.
struct FmpAnim {
    std::int32_t CurrentFrame = 0;
    std::int32_t SecondFrame = 0;
    std::int32_t ThirdFrame = 0;
};

// The codes kept in FmpMap::LastError.
enum FmpError : std::int32_t {
    kFmpNoError = 0,
    kFmpOutOfMemory = 1,
    kFmpBadFile = 2,
    kFmpCannotOpen = 3,
};

class FmpFile {
public:
    static constexpr int kLayerCount = 8;
    static constexpr int kBlockRecordBytes = 32;
    static constexpr int kAnimRecordBytes = 16;
    // The block surface table has 1024 entries and its last one always stays empty.
    static constexpr int kMostBlockGraphics = 1023;

    // Walks the chunks of a whole file image. Returns kFmpNoError, kFmpOutOfMemory or
    // kFmpBadFile; on failure the buffers read so far are released.
    std::int32_t Parse(std::span<const std::uint8_t> file);

    // Checks the sizes and references the build step and drawing need and resolves the file's
    // offsets into Blocks, FrameBlocks and Anims. Returns kFmpNoError or kFmpBadFile.
    std::int32_t Resolve();

    // Frees every chunk buffer and resolved table; the header and palette stay.
    void ReleaseBuffers();

    // Bytes one block graphic takes in BGFX: (depth + 1) / 8 bytes per pixel.
    std::int64_t GraphicSize() const;
    int BytesPerBlockPixel() const { return (Header.BlockDepth + 1) / 8; }

    // The block record that cell value names, or null when it names nothing. Only valid after
    // Resolve succeeded.
    const FmpBlock* BlockOfCell(std::int16_t cell) const;
    // The cell of layer 0 at a block column and row, or null outside the map.
    const FmpBlock* BlockAt(std::int32_t column, std::int32_t row) const;

    // Graphic g's pixels in BGFX; g must be below the header's graphic count.
    const std::uint8_t* GraphicPixels(int graphic) const;

    FmpHeader Header;
    // The colour map (CMAP): entry i is red, green, blue of colour i and a flags byte 0.
    std::array<platform::PALETTEENTRY, 256> Palette{};
    bool HasAnimations = false;
    std::vector<std::uint8_t> BlockRecords;                     // BKDT
    std::vector<std::uint8_t> Animations;                       // ANDT
    std::vector<std::uint8_t> Graphics;                         // BGFX
    std::array<std::vector<std::uint8_t>, kLayerCount> Layers;  // BODY, LYR1 .. LYR7

    std::vector<FmpBlock> Blocks;           // one per block record
    std::vector<std::int32_t> FrameBlocks;  // one per frame-list entry: a block record
    std::vector<FmpAnim> Anims;             // animation record 0 first

private:
    bool ReadHeaderChunk(std::span<const std::uint8_t> payload);
    bool ReadColorMapChunk(std::span<const std::uint8_t> payload);
    bool KeepChunk(std::span<const std::uint8_t> payload, std::vector<std::uint8_t>& buffer);
    bool ReadChunk(const char* identifier, std::span<const std::uint8_t> payload);

    bool ResolveBlocks();
    bool ResolveAnimations();
    bool CheckLayerZero() const;
    std::int32_t GraphicOfOffset(std::int32_t offset) const;
};

}  // namespace cdx
