// SPDX-License-Identifier: MIT
#pragma once

// A small writer of map files for the tests: chunks by hand (for the file rules) and whole
// maps from a description (for the model and the drawing). Independent of the data generator.

#include <cstdint>
#include <string>
#include <vector>

namespace maptest {

using Bytes = std::vector<std::uint8_t>;

struct Chunk {
    std::string id;
    Bytes payload;
};

void PutU32BigEndian(Bytes& out, std::uint32_t value);
void PutI32LittleEndian(Bytes& out, std::int32_t value);
void PutI16LittleEndian(Bytes& out, std::int16_t value);

// "FORM", the length (file size - 8 + lengthError), "FMAP", then the chunks.
Bytes Form(const std::vector<Chunk>& chunks, int lengthError = 0);

// A whole map: graphics hold the file's own pixel bytes, graphic g at offset g x graphic size.
struct MapDescription {
    struct Animation {
        std::vector<int> frames;  // block record indices
        int current = 0;          // index into frames
    };
    std::int16_t mapWidth = 4;
    std::int16_t mapHeight = 4;
    std::int16_t blockWidth = 2;
    std::int16_t blockHeight = 2;
    std::int16_t depth = 16;
    std::vector<Bytes> graphics;
    std::vector<int> blockGraphics;  // base graphic of block record k
    std::vector<Animation> animations;
    std::vector<std::int16_t> cells;  // the file's cell values, row by row
    Bytes colorMap = Bytes(768, 0);

    int BytesPerPixel() const { return (depth + 1) / 8; }
    int GraphicSize() const { return BytesPerPixel() * blockWidth * blockHeight; }
    // The cell value naming animation record a.
    static std::int16_t AnimatedCell(int a) { return static_cast<std::int16_t>(-16 * (a + 1)); }
    static std::int16_t BlockCell(int k) { return static_cast<std::int16_t>(32 * k); }
};

Bytes HeaderPayload(const MapDescription& map);
Bytes BlockRecordsPayload(const MapDescription& map);
Bytes AnimationPayload(const MapDescription& map);
Bytes GraphicsPayload(const MapDescription& map);
Bytes CellsPayload(const MapDescription& map);

// MPHD, CMAP, BKDT, ANDT (when there are animations), BGFX, BODY.
std::vector<Chunk> MapChunks(const MapDescription& map);
Bytes MapFile(const MapDescription& map);

// A small valid map: 4 x 4 cells of 2 x 2 16-bit blocks, three graphics, four block records,
// two animation records; cell 5 is animated.
MapDescription SmallMap();

// Writes bytes to a file under the test temp folder; returns its path.
std::string WriteTempFile(const std::string& name, const Bytes& bytes);

}  // namespace maptest
