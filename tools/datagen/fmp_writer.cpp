// SPDX-License-Identifier: MIT
#include "fmp_writer.h"

#include <stdexcept>
#include <string>

#include "byte_writer.h"

namespace datagen {
namespace {

constexpr int kBlockRecordSize = 32;
constexpr int kAnimationRecordSize = 16;
constexpr int kMaxBlockRecords = 1024;  // a cell's byte offset must fit in 16 signed bits

void Require(bool condition, const std::string& what) {
    if (!condition) throw std::invalid_argument("tile map: " + what);
}

void Validate(const TileMap& map) {
    Require(map.widthInBlocks > 0 && map.heightInBlocks > 0, "empty map");
    Require(map.blockWidth > 0 && map.blockHeight > 0, "empty blocks");
    Require(!map.graphics.empty() && map.graphics.size() < 1024, "graphic count out of range");
    for (const RgbImage& graphic : map.graphics) {
        Require(graphic.width == map.blockWidth && graphic.height == map.blockHeight,
                "a graphic is not block-sized");
    }
    const int recordCount = static_cast<int>(map.blockGraphics.size());
    Require(recordCount > 0 && recordCount <= kMaxBlockRecords, "block record count out of range");
    for (int graphic : map.blockGraphics) {
        Require(graphic >= 0 && graphic < static_cast<int>(map.graphics.size()),
                "a block record names a missing graphic");
    }
    for (const TileMap::Animation& animation : map.animations) {
        Require(!animation.frames.empty(), "an animation without frames");
        Require(animation.currentFrame >= 0 &&
                    animation.currentFrame < static_cast<int>(animation.frames.size()),
                "an animation's current frame is not one of its frames");
        for (int record : animation.frames) {
            Require(record >= 0 && record < recordCount, "an animation names a missing record");
        }
    }
    Require(map.cells.size() == static_cast<std::size_t>(map.widthInBlocks) * map.heightInBlocks,
            "cell count differs from width x height");
    for (const TileMap::Cell& cell : map.cells) {
        const int limit = cell.animated ? static_cast<int>(map.animations.size()) : recordCount;
        Require(cell.index >= 0 && cell.index < limit, "a cell names a missing record");
    }
}

void Chunk(ByteWriter& out, const char* tag, const ByteWriter& payload) {
    out.Tag(tag);
    out.U32BE(static_cast<std::uint32_t>(payload.Size()));
    out.Append(payload.Bytes());
}

ByteWriter Header(const TileMap& map) {
    ByteWriter mphd;
    mphd.Zeros(4);  // reserved; readers skip it
    mphd.I16LE(static_cast<std::int16_t>(map.widthInBlocks));
    mphd.I16LE(static_cast<std::int16_t>(map.heightInBlocks));
    mphd.Zeros(4);  // reserved
    mphd.I16LE(static_cast<std::int16_t>(map.blockWidth));
    mphd.I16LE(static_cast<std::int16_t>(map.blockHeight));
    mphd.I16LE(16);  // block depth: 5-6-5 pixels
    mphd.I16LE(kBlockRecordSize);
    mphd.I16LE(static_cast<std::int16_t>(map.blockGraphics.size()));
    mphd.I16LE(static_cast<std::int16_t>(map.graphics.size()));
    return mphd;
}

ByteWriter ColourMap(const TileMap& map) {
    ByteWriter cmap;
    for (const Rgb8& colour : map.palette) {
        cmap.U8(colour.r);
        cmap.U8(colour.g);
        cmap.U8(colour.b);
    }
    return cmap;
}

ByteWriter BlockRecords(const TileMap& map) {
    const int graphicBytes = map.blockWidth * map.blockHeight * 2;
    ByteWriter bkdt;
    for (int graphic : map.blockGraphics) {
        bkdt.I32LE(graphic * graphicBytes);  // base graphic
        bkdt.Zeros(12);                      // no further graphics
        bkdt.Zeros(16);                      // per-block user fields, unused
    }
    return bkdt;
}

// The frame list first, then the end marker, then the animation records from the last to the
// first, so that record 0 occupies the final 16 bytes. Frame positions count back from the end
// of the payload.
ByteWriter Animations(const TileMap& map) {
    std::vector<int> firstEntry;
    int entryCount = 0;
    for (const TileMap::Animation& animation : map.animations) {
        firstEntry.push_back(entryCount);
        entryCount += static_cast<int>(animation.frames.size());
    }
    const int payloadSize = entryCount * 4 + kAnimationRecordSize +
                            static_cast<int>(map.animations.size()) * kAnimationRecordSize;
    auto position = [&](int entry) { return entry * 4 - payloadSize; };

    ByteWriter andt;
    for (const TileMap::Animation& animation : map.animations) {
        for (int record : animation.frames) andt.I32LE(record * kBlockRecordSize);
    }
    andt.U8(0xFF);  // end marker
    andt.Zeros(kAnimationRecordSize - 1);
    for (int a = static_cast<int>(map.animations.size()) - 1; a >= 0; --a) {
        const TileMap::Animation& animation = map.animations[a];
        const int first = firstEntry[a];
        const int last = first + static_cast<int>(animation.frames.size()) - 1;
        andt.U8(1);  // type: loop forwards
        andt.U8(animation.delay);
        andt.U8(0);  // tick counter
        andt.U8(0);
        andt.I32LE(position(first + animation.currentFrame));
        andt.I32LE(position(first));
        andt.I32LE(position(last));
    }
    return andt;
}

ByteWriter Graphics(const TileMap& map) {
    ByteWriter bgfx;
    for (const RgbImage& graphic : map.graphics) {
        for (const Rgb8& pixel : graphic.pixels) {
            const std::uint16_t packed = static_cast<std::uint16_t>(
                ((pixel.r >> 3) << 11) | ((pixel.g >> 2) << 5) | (pixel.b >> 3));
            bgfx.U16BE(packed);
        }
    }
    return bgfx;
}

ByteWriter Body(const TileMap& map) {
    ByteWriter body;
    for (const TileMap::Cell& cell : map.cells) {
        const int value = cell.animated ? -kAnimationRecordSize * (cell.index + 1)
                                        : cell.index * kBlockRecordSize;
        body.I16LE(static_cast<std::int16_t>(value));
    }
    return body;
}

}  // namespace

std::vector<std::uint8_t> EncodeFmp(const TileMap& map) {
    Validate(map);
    ByteWriter chunks;
    Chunk(chunks, "MPHD", Header(map));
    Chunk(chunks, "CMAP", ColourMap(map));
    Chunk(chunks, "BKDT", BlockRecords(map));
    Chunk(chunks, "ANDT", Animations(map));
    Chunk(chunks, "BGFX", Graphics(map));
    Chunk(chunks, "BODY", Body(map));

    ByteWriter file;
    file.Tag("FORM");
    file.U32BE(static_cast<std::uint32_t>(4 + chunks.Size()));
    file.Tag("FMAP");
    file.Append(chunks.Bytes());
    return file.Bytes();
}

}  // namespace datagen
