// SPDX-License-Identifier: MIT
#include "fmp_builder.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace maptest {

void PutU32BigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(value >> shift));
}

void PutI32LittleEndian(Bytes& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(bits >> shift));
}

void PutI16LittleEndian(Bytes& out, std::int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    out.push_back(std::uint8_t(bits));
    out.push_back(std::uint8_t(bits >> 8));
}

Bytes Form(const std::vector<Chunk>& chunks, int lengthError) {
    Bytes body = {'F', 'M', 'A', 'P'};
    for (const Chunk& chunk : chunks) {
        body.insert(body.end(), chunk.id.begin(), chunk.id.end());
        PutU32BigEndian(body, static_cast<std::uint32_t>(chunk.payload.size()));
        body.insert(body.end(), chunk.payload.begin(), chunk.payload.end());
    }
    Bytes file = {'F', 'O', 'R', 'M'};
    PutU32BigEndian(file, static_cast<std::uint32_t>(body.size() + lengthError));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

Bytes HeaderPayload(const MapDescription& map) {
    Bytes out(4, 0);
    PutI16LittleEndian(out, map.mapWidth);
    PutI16LittleEndian(out, map.mapHeight);
    out.resize(12, 0);
    PutI16LittleEndian(out, map.blockWidth);
    PutI16LittleEndian(out, map.blockHeight);
    PutI16LittleEndian(out, map.depth);
    PutI16LittleEndian(out, 32);
    PutI16LittleEndian(out, static_cast<std::int16_t>(map.blockGraphics.size()));
    PutI16LittleEndian(out, static_cast<std::int16_t>(map.graphics.size()));
    return out;
}

Bytes BlockRecordsPayload(const MapDescription& map) {
    Bytes out;
    for (int graphic : map.blockGraphics) {
        PutI32LittleEndian(out, graphic * map.GraphicSize());
        out.resize(out.size() + 28, 0);
    }
    return out;
}

Bytes AnimationPayload(const MapDescription& map) {
    std::vector<int> firstEntry;
    int entries = 0;
    for (const auto& animation : map.animations) {
        firstEntry.push_back(entries);
        entries += static_cast<int>(animation.frames.size());
    }
    const int size = 4 * entries + 16 * (1 + static_cast<int>(map.animations.size()));
    Bytes out;
    for (const auto& animation : map.animations) {
        for (int record : animation.frames) PutI32LittleEndian(out, 32 * record);
    }
    out.push_back(0xFF);
    out.resize(out.size() + 15, 0);
    for (int a = static_cast<int>(map.animations.size()) - 1; a >= 0; --a) {
        const auto& animation = map.animations[a];
        const int first = firstEntry[a];
        out.push_back(1);
        out.resize(out.size() + 3, 0);
        PutI32LittleEndian(out, 4 * (first + animation.current) - size);
        PutI32LittleEndian(out, 4 * first - size);
        PutI32LittleEndian(out, 4 * (first + int(animation.frames.size()) - 1) - size);
    }
    return out;
}

Bytes GraphicsPayload(const MapDescription& map) {
    Bytes out;
    for (const Bytes& graphic : map.graphics) out.insert(out.end(), graphic.begin(), graphic.end());
    return out;
}

Bytes CellsPayload(const MapDescription& map) {
    Bytes out;
    for (std::int16_t cell : map.cells) PutI16LittleEndian(out, cell);
    return out;
}

std::vector<Chunk> MapChunks(const MapDescription& map) {
    std::vector<Chunk> chunks = {
        {"MPHD", HeaderPayload(map)}, {"CMAP", map.colorMap}, {"BKDT", BlockRecordsPayload(map)}};
    if (!map.animations.empty()) chunks.push_back({"ANDT", AnimationPayload(map)});
    chunks.push_back({"BGFX", GraphicsPayload(map)});
    chunks.push_back({"BODY", CellsPayload(map)});
    return chunks;
}

Bytes MapFile(const MapDescription& map) {
    return Form(MapChunks(map));
}

MapDescription SmallMap() {
    MapDescription map;
    // Graphic g is filled with the big-endian 16-bit value 0x1000 * (g + 1) + pixel index.
    for (int g = 0; g < 3; ++g) {
        Bytes graphic;
        for (int p = 0; p < 4; ++p) {
            const int value = 0x1000 * (g + 1) + p;
            graphic.push_back(std::uint8_t(value >> 8));
            graphic.push_back(std::uint8_t(value));
        }
        map.graphics.push_back(graphic);
    }
    map.blockGraphics = {0, 1, 2, 1};
    map.animations = {{{0, 1}, 1}, {{3, 2, 0}, 1}};
    map.cells.assign(16, MapDescription::BlockCell(0));
    map.cells[1] = MapDescription::BlockCell(2);
    map.cells[5] = MapDescription::AnimatedCell(1);
    return map;
}

std::string WriteTempFile(const std::string& name, const Bytes& bytes) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("zelto-map-test-" + std::to_string(::getpid()) + "-" + name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path.string();
}

}  // namespace maptest
