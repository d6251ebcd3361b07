// SPDX-License-Identifier: MIT
// The map file rules: the chunk walk, the chunk readers, and the checks that refuse a file
// whose sizes or references the map could not follow. All on bytes, without any host.

#include "map/fmpfile.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fmp_builder.h"

using namespace cdx;

using namespace maptest;

namespace {

// Parses and resolves; the first code that is not 0.
std::int32_t ReadAll(const Bytes& bytes, FmpFile& file) {
    const std::int32_t parsed = file.Parse(bytes);
    return parsed != kFmpNoError ? parsed : file.Resolve();
}

std::int32_t ReadAll(const Bytes& bytes) {
    FmpFile file;
    return ReadAll(bytes, file);
}

Chunk* Find(std::vector<Chunk>& chunks, const std::string& id) {
    auto it =
        std::find_if(chunks.begin(), chunks.end(), [&](const Chunk& c) { return c.id == id; });
    return it == chunks.end() ? nullptr : &*it;
}

void OverwriteI32(Bytes& bytes, std::size_t at, std::int32_t value) {
    Bytes encoded;
    PutI32LittleEndian(encoded, value);
    std::copy(encoded.begin(), encoded.end(), bytes.begin() + at);
}

}  // namespace

TEST(FmpFileContainer, FormLengthMustMatchTheFileExactly) {
    const MapDescription map = SmallMap();
    EXPECT_EQ(ReadAll(Form(MapChunks(map))), kFmpNoError);
    EXPECT_EQ(ReadAll(Form(MapChunks(map), +1)), kFmpBadFile);
    EXPECT_EQ(ReadAll(Form(MapChunks(map), -1)), kFmpBadFile);
}

TEST(FmpFileContainer, WrongTagsAndShortHeadersAreRefused) {
    Bytes file = MapFile(SmallMap());
    Bytes badForm = file;
    badForm[0] = 'f';
    EXPECT_EQ(ReadAll(badForm), kFmpBadFile);
    Bytes badType = file;
    badType[11] = 'X';
    EXPECT_EQ(ReadAll(badType), kFmpBadFile);
    EXPECT_EQ(ReadAll(Bytes{}), kFmpBadFile);
    EXPECT_EQ(ReadAll(Bytes{'F', 'O', 'R', 'M', 0, 0, 0, 0}), kFmpBadFile);
}

TEST(FmpFileContainer, JustTheHeaderWalksNoChunksButIsNoMap) {
    FmpFile file;
    const Bytes headerOnly = Form({});
    ASSERT_EQ(headerOnly.size(), 12u);
    EXPECT_EQ(file.Parse(headerOnly), kFmpNoError);
    EXPECT_EQ(file.Header.MapWidth, 0);
    EXPECT_EQ(file.Header.BlockGraphicCount, 0);
    EXPECT_EQ(file.Resolve(), kFmpBadFile);  // no block graphics
}

TEST(FmpFileContainer, ChunksInAnyOrderLoadTheSameMap) {
    const MapDescription map = SmallMap();
    std::vector<Chunk> chunks = MapChunks(map);
    FmpFile inOrder;
    ASSERT_EQ(ReadAll(Form(chunks), inOrder), kFmpNoError);
    std::reverse(chunks.begin(), chunks.end());
    FmpFile reversed;
    ASSERT_EQ(ReadAll(Form(chunks), reversed), kFmpNoError);
    std::rotate(chunks.begin(), chunks.begin() + 2, chunks.end());
    FmpFile rotated;
    ASSERT_EQ(ReadAll(Form(chunks), rotated), kFmpNoError);
    for (const FmpFile* other : {&reversed, &rotated}) {
        EXPECT_EQ(other->Layers[0], inOrder.Layers[0]);
        EXPECT_EQ(other->Graphics, inOrder.Graphics);
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column) {
                EXPECT_EQ(other->BlockAt(column, row)->BaseGraphic,
                          inOrder.BlockAt(column, row)->BaseGraphic);
            }
        }
    }
}

TEST(FmpFileContainer, UnknownAndLowerCaseChunksAreSkipped) {
    MapDescription map = SmallMap();
    std::vector<Chunk> chunks = MapChunks(map);
    chunks.insert(chunks.begin(), {"XTRA", Bytes(37, 0xEE)});
    chunks.push_back({"body", Bytes(3, 0xFF)});  // would be refused as a BODY
    chunks.push_back({"lyr1", Bytes(5, 0xFF)});
    FmpFile file;
    ASSERT_EQ(ReadAll(Form(chunks), file), kFmpNoError);
    EXPECT_EQ(file.Layers[0], CellsPayload(map));
    EXPECT_TRUE(file.Layers[1].empty());
}

TEST(FmpFileContainer, ASecondChunkReplacesTheFirst) {
    MapDescription map = SmallMap();
    std::vector<Chunk> chunks = MapChunks(map);
    Bytes second(768, 0);
    second[3 * 7] = 200;
    second[3 * 7 + 1] = 100;
    second[3 * 7 + 2] = 50;
    chunks.push_back({"CMAP", second});
    FmpFile file;
    ASSERT_EQ(ReadAll(Form(chunks), file), kFmpNoError);
    EXPECT_EQ(file.Palette[7].peRed, 200);
    EXPECT_EQ(file.Palette[7].peGreen, 100);
    EXPECT_EQ(file.Palette[7].peBlue, 50);
    EXPECT_EQ(file.Palette[7].peFlags, 0);
}

TEST(FmpFileContainer, ZeroLengthChunksAreAccepted) {
    std::vector<Chunk> chunks = MapChunks(SmallMap());
    chunks.push_back({"NOTE", {}});
    chunks.push_back({"LYR3", {}});
    FmpFile file;
    ASSERT_EQ(ReadAll(Form(chunks), file), kFmpNoError);
    EXPECT_TRUE(file.Layers[3].empty());
}

TEST(FmpFileContainer, LayersOneToSevenAreKeptBesideTheBody) {
    std::vector<Chunk> chunks = MapChunks(SmallMap());
    chunks.push_back({"LYR7", Bytes{1, 2, 3}});
    chunks.push_back({"LYR8", Bytes{4}});
    FmpFile file;
    ASSERT_EQ(ReadAll(Form(chunks), file), kFmpNoError);
    EXPECT_EQ(file.Layers[7], (Bytes{1, 2, 3}));
}

TEST(FmpFileContainer, StrayTrailingBytesAreReadAsAChunkHeader) {
    const Bytes file = MapFile(SmallMap());
    auto withTail = [&](const Bytes& tail) {
        Bytes bytes = file;
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        const std::uint32_t length = static_cast<std::uint32_t>(bytes.size() - 8);
        Bytes header;
        PutU32BigEndian(header, length);
        std::copy(header.begin(), header.end(), bytes.begin() + 4);
        return bytes;
    };
    EXPECT_EQ(ReadAll(withTail({0, 0, 0})), kFmpBadFile);
    EXPECT_EQ(ReadAll(withTail({0, 0, 0, 0, 0, 0, 0})), kFmpBadFile);
    EXPECT_EQ(ReadAll(withTail({'Z', 'Z', 'Z', 'Z', 0, 0, 0, 0})), kFmpNoError);
    // Eight bytes that claim a payload the file does not have.
    EXPECT_EQ(ReadAll(withTail({'Z', 'Z', 'Z', 'Z', 0, 0, 0, 5})), kFmpBadFile);
}

TEST(FmpFileContainer, AChunkRunningPastTheEndIsRefusedWithoutAllocatingIt) {
    std::vector<Chunk> chunks = MapChunks(SmallMap());
    Bytes bytes = Form(chunks);
    // BODY is the last chunk; its length claims 4 GiB.
    const std::size_t bodyLength = bytes.size() - CellsPayload(SmallMap()).size() - 4;
    bytes[bodyLength] = bytes[bodyLength + 1] = bytes[bodyLength + 2] = bytes[bodyLength + 3] =
        0xFF;
    FmpFile file;
    EXPECT_EQ(file.Parse(bytes), kFmpBadFile);
    EXPECT_TRUE(file.Graphics.empty());  // what was read is given back
    bytes[bodyLength] = bytes[bodyLength + 1] = bytes[bodyLength + 2] = 0;
    bytes[bodyLength + 3] = static_cast<std::uint8_t>(CellsPayload(SmallMap()).size() + 1);
    EXPECT_EQ(ReadAll(bytes), kFmpBadFile);
}

TEST(FmpFileHeader, FieldsAreLittleEndianBehindABigEndianLength) {
    MapDescription map = SmallMap();
    std::vector<Chunk> chunks = MapChunks(map);
    Bytes& header = Find(chunks, "MPHD")->payload;
    header[4] = 0x28;  // map width 40
    header[5] = 0x00;
    header[6] = 0x02;  // map height 258
    header[7] = 0x01;
    header.resize(30, 0x77);  // bytes after the 24th are not read
    FmpFile file;
    ASSERT_EQ(file.Parse(Form(chunks)), kFmpNoError);
    EXPECT_EQ(file.Header.MapWidth, 40);
    EXPECT_EQ(file.Header.MapHeight, 258);
    EXPECT_EQ(file.Header.BlockWidth, 2);
    EXPECT_EQ(file.Header.BlockHeight, 2);
    EXPECT_EQ(file.Header.BlockDepth, 16);
    EXPECT_EQ(file.Header.BlockRecordSize, 32);
    EXPECT_EQ(file.Header.BlockRecordCount, 4);
    EXPECT_EQ(file.Header.BlockGraphicCount, 3);
}

TEST(FmpFileCells, CellValuesNameBlockRecordsOrAnimationRecords) {
    MapDescription map = SmallMap();
    FmpFile file;
    ASSERT_EQ(ReadAll(MapFile(map), file), kFmpNoError);
    // 64 is block record 2 (graphic 2); 96 is record 3 (graphic 1).
    EXPECT_EQ(file.BlockOfCell(64), &file.Blocks[2]);
    EXPECT_EQ(file.BlockOfCell(96)->BaseGraphic, 1);
    // -16 is animation record 0: frames {0, 1}, current 1 -> record 1.
    EXPECT_EQ(file.BlockOfCell(-16), &file.Blocks[1]);
    // -32 is animation record 1: frames {3, 2, 0}, current 1 -> record 2.
    EXPECT_EQ(file.BlockOfCell(-32), &file.Blocks[2]);
    EXPECT_EQ(file.BlockAt(1, 1), &file.Blocks[2]);  // cell 5
    EXPECT_EQ(file.BlockOfCell(128), nullptr);       // record 4 does not exist
    EXPECT_EQ(file.BlockOfCell(-48), nullptr);       // nor animation record 2
    EXPECT_EQ(file.BlockAt(4, 0), nullptr);
    EXPECT_EQ(file.BlockAt(0, -1), nullptr);
}

TEST(FmpFileCells, FramePositionsResolveToFrameListEntries) {
    FmpFile file;
    ASSERT_EQ(ReadAll(MapFile(SmallMap()), file), kFmpNoError);
    ASSERT_EQ(file.Anims.size(), 2u);
    ASSERT_EQ(file.FrameBlocks, (std::vector<std::int32_t>{0, 1, 3, 2, 0}));
    EXPECT_EQ(file.Anims[0].CurrentFrame, 1);
    EXPECT_EQ(file.Anims[0].SecondFrame, 0);
    EXPECT_EQ(file.Anims[0].ThirdFrame, 1);
    EXPECT_EQ(file.Anims[1].CurrentFrame, 3);
    EXPECT_EQ(file.Anims[1].SecondFrame, 2);
    EXPECT_EQ(file.Anims[1].ThirdFrame, 4);
}

TEST(FmpFileCells, FurtherGraphicsOfOffsetZeroAreNone) {
    MapDescription map = SmallMap();
    std::vector<Chunk> chunks = MapChunks(map);
    Bytes& records = Find(chunks, "BKDT")->payload;
    OverwriteI32(records, 32 * 1 + 8, 2 * map.GraphicSize());
    FmpFile file;
    ASSERT_EQ(ReadAll(Form(chunks), file), kFmpNoError);
    EXPECT_EQ(file.Blocks[0].BaseGraphic, 0);
    EXPECT_EQ(file.Blocks[0].FurtherGraphics[0], FmpBlock::kNoGraphic);
    EXPECT_EQ(file.Blocks[1].FurtherGraphics[1], 2);
    EXPECT_EQ(file.Blocks[1].FurtherGraphics[2], FmpBlock::kNoGraphic);
}

// Every way a file can name something that is not there, or be too short for what its header
// says, is refused as a bad file.
TEST(FmpFileChecks, FilesTheMapCouldNotFollowAreRefused) {
    const MapDescription base = SmallMap();
    struct Case {
        const char* what;
        std::function<void(MapDescription&, std::vector<Chunk>&)> spoil;
    };
    const std::vector<Case> cases = {
        {"MPHD of 23 bytes", [](auto&, auto& c) { Find(c, "MPHD")->payload.resize(23); }},
        {"CMAP of 767 bytes", [](auto&, auto& c) { Find(c, "CMAP")->payload.resize(767); }},
        {"BKDT one byte short", [](auto&, auto& c) { Find(c, "BKDT")->payload.pop_back(); }},
        {"BGFX one byte short", [](auto&, auto& c) { Find(c, "BGFX")->payload.pop_back(); }},
        {"BODY one byte short", [](auto&, auto& c) { Find(c, "BODY")->payload.pop_back(); }},
        {"no BODY",
         [](auto&, auto& c) { std::erase_if(c, [](auto& x) { return x.id == "BODY"; }); }},
        {"no BGFX",
         [](auto&, auto& c) { std::erase_if(c, [](auto& x) { return x.id == "BGFX"; }); }},
        {"ANDT without end marker",
         [](auto&, auto& c) {
             Bytes& a = Find(c, "ANDT")->payload;
             std::replace(a.begin(), a.end(), std::uint8_t{0xFF}, std::uint8_t{0});
         }},
        {"empty ANDT", [](auto&, auto& c) { Find(c, "ANDT")->payload.clear(); }},
        {"ragged frame list",
         [](auto&, auto& c) {
             Bytes& a = Find(c, "ANDT")->payload;
             a.insert(a.begin(), {0, 0});  // the end marker now sits at byte 22
         }},
        {"frame naming a missing record",
         [](auto&, auto& c) { OverwriteI32(Find(c, "ANDT")->payload, 0, 32 * 4); }},
        {"frame naming a negative record",
         [](auto&, auto& c) { OverwriteI32(Find(c, "ANDT")->payload, 0, -32); }},
        {"current frame in the end marker",
         [](auto&, auto& c) {
             Bytes& a = Find(c, "ANDT")->payload;
             OverwriteI32(a, a.size() - 12, -48);  // record 0's current frame
         }},
        {"frame position past the end",
         [](auto&, auto& c) {
             Bytes& a = Find(c, "ANDT")->payload;
             OverwriteI32(a, a.size() - 8, 0);  // record 0's second frame
         }},
        {"frame position before the start",
         [](auto&, auto& c) {
             Bytes& a = Find(c, "ANDT")->payload;
             OverwriteI32(a, a.size() - 4, -1000);
         }},
        {"base graphic beyond the last",
         [](auto& m, auto& c) { OverwriteI32(Find(c, "BKDT")->payload, 32, 3 * m.GraphicSize()); }},
        {"negative base graphic",
         [](auto&, auto& c) { OverwriteI32(Find(c, "BKDT")->payload, 0, -8); }},
        {"further graphic beyond the last",
         [](auto& m, auto& c) {
             OverwriteI32(Find(c, "BKDT")->payload, 32 * 3 + 12, 9 * m.GraphicSize());
         }},
        {"cell naming a missing record",
         [](auto& m, auto& c) {
             m.cells[15] = MapDescription::BlockCell(4);
             Find(c, "BODY")->payload = CellsPayload(m);
         }},
        {"cell naming a missing animation",
         [](auto& m, auto& c) {
             m.cells[0] = MapDescription::AnimatedCell(2);
             Find(c, "BODY")->payload = CellsPayload(m);
         }},
        {"animated cell without ANDT",
         [](auto&, auto& c) { std::erase_if(c, [](auto& x) { return x.id == "ANDT"; }); }},
        {"no block graphics",
         [](auto& m, auto& c) {
             m.graphics.clear();
             Find(c, "MPHD")->payload = HeaderPayload(m);
         }},
        {"1024 block graphics",
         [](auto& m, auto& c) {
             m.graphics.resize(1024, Bytes(m.GraphicSize(), 0));
             Find(c, "MPHD")->payload = HeaderPayload(m);
             Find(c, "BGFX")->payload = GraphicsPayload(m);
         }},
        {"block depth 12",
         [](auto& m, auto& c) {
             m.depth = 12;
             Find(c, "MPHD")->payload = HeaderPayload(m);
         }},
        {"block width 0",
         [](auto& m, auto& c) {
             m.blockWidth = 0;
             Find(c, "MPHD")->payload = HeaderPayload(m);
         }},
        {"negative map height",
         [](auto& m, auto& c) {
             m.mapHeight = -4;
             Find(c, "MPHD")->payload = HeaderPayload(m);
         }},
    };
    for (const Case& c : cases) {
        MapDescription map = base;
        std::vector<Chunk> chunks = MapChunks(map);
        c.spoil(map, chunks);
        EXPECT_EQ(ReadAll(Form(chunks)), kFmpBadFile) << c.what;
    }
}

TEST(FmpFileChecks, TheMostBlockGraphicsAreAccepted) {
    MapDescription map = SmallMap();
    map.graphics.resize(FmpFile::kMostBlockGraphics, Bytes(map.GraphicSize(), 0));
    map.blockGraphics.push_back(FmpFile::kMostBlockGraphics - 1);
    FmpFile file;
    ASSERT_EQ(ReadAll(MapFile(map), file), kFmpNoError);
    EXPECT_EQ(file.Blocks[4].BaseGraphic, FmpFile::kMostBlockGraphics - 1);
}

TEST(FmpFileChecks, ReleasingKeepsTheHeaderAndPalette) {
    MapDescription map = SmallMap();
    map.colorMap[0] = 9;
    FmpFile file;
    ASSERT_EQ(ReadAll(MapFile(map), file), kFmpNoError);
    file.ReleaseBuffers();
    file.ReleaseBuffers();
    EXPECT_TRUE(file.Graphics.empty());
    EXPECT_TRUE(file.Blocks.empty());
    EXPECT_EQ(file.BlockOfCell(0), nullptr);
    EXPECT_EQ(file.BlockAt(0, 0), nullptr);
    EXPECT_EQ(file.Header.MapWidth, 4);
    EXPECT_EQ(file.Palette[0].peRed, 9);
}
