// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <set>

#include "file_readers.h"

namespace datagen_test {
namespace {

constexpr int kWidth = 40;
constexpr int kHeight = 30;
constexpr int kGraphicBytes = 32 * 32 * 2;

class MapFile : public testing::Test {
protected:
    void SetUp() override {
        std::string problem;
        std::optional<ChunkFile> file = ChunkFile::Read(ReadFile(GameFile("ZELTO.FMP")), problem);
        ASSERT_TRUE(file.has_value()) << problem;
        chunks_ = std::move(file->chunks);
        for (const char* id : {"MPHD", "CMAP", "BKDT", "ANDT", "BGFX", "BODY"}) {
            ASSERT_EQ(chunks_.count(id), 1u) << "missing chunk " << id;
        }
        const Bytes& header = chunks_["MPHD"];
        ASSERT_GE(header.size(), 24u);
        recordCount_ = I16LE(header, 20);
        graphicCount_ = I16LE(header, 22);
        // Locate the end marker: animation records are counted back from the end.
        const Bytes& andt = chunks_["ANDT"];
        ASSERT_EQ(andt.size() % 4, 0u);
        ASSERT_GE(andt.size(), 16u);
        std::size_t at = andt.size() - 16;
        while (andt[at] != 0xFF) {
            ASSERT_GE(at, 16u) << "no end marker in ANDT";
            at -= 16;
        }
        frameListBytes_ = static_cast<int>(at);
        animationCount_ = static_cast<int>((andt.size() - at - 16) / 16);
    }

    std::map<std::string, Bytes> chunks_;
    int recordCount_ = 0;
    int graphicCount_ = 0;
    int frameListBytes_ = 0;
    int animationCount_ = 0;
};

TEST_F(MapFile, HeaderDescribesA40By30MapOf32PixelSixteenBitBlocks) {
    const Bytes& header = chunks_["MPHD"];
    EXPECT_EQ(I16LE(header, 4), kWidth);
    EXPECT_EQ(I16LE(header, 6), kHeight);
    EXPECT_EQ(I16LE(header, 12), 32);
    EXPECT_EQ(I16LE(header, 14), 32);
    EXPECT_EQ(I16LE(header, 16), 16);
    EXPECT_EQ(I16LE(header, 18), 32);
    EXPECT_GE(graphicCount_, 24) << "a few dozen distinct blocks";
    EXPECT_LT(graphicCount_, 1024);
    EXPECT_GT(recordCount_, 0);
    EXPECT_LE(recordCount_, 1024);
}

TEST_F(MapFile, ChunkSizesMatchTheHeader) {
    EXPECT_EQ(chunks_["CMAP"].size(), 768u);
    EXPECT_EQ(chunks_["BKDT"].size(), static_cast<std::size_t>(recordCount_) * 32);
    EXPECT_EQ(chunks_["BGFX"].size(), static_cast<std::size_t>(graphicCount_) * kGraphicBytes);
    EXPECT_EQ(chunks_["BODY"].size(), static_cast<std::size_t>(kWidth) * kHeight * 2);
}

TEST_F(MapFile, EveryBlockRecordNamesExistingGraphics) {
    const Bytes& records = chunks_["BKDT"];
    for (int k = 0; k < recordCount_; ++k) {
        const std::int32_t base = I32LE(records, 32 * k);
        EXPECT_EQ(base % kGraphicBytes, 0) << "record " << k;
        EXPECT_GE(base, 0);
        EXPECT_LT(base / kGraphicBytes, graphicCount_) << "record " << k;
        for (int further = 1; further <= 3; ++further) {
            const std::int32_t offset = I32LE(records, 32 * k + 4 * further);
            EXPECT_TRUE(offset == 0 ||
                        (offset % kGraphicBytes == 0 && offset / kGraphicBytes < graphicCount_));
        }
    }
}

TEST_F(MapFile, AnimationsNameFramesThatNameRecords) {
    const Bytes& andt = chunks_["ANDT"];
    EXPECT_GT(animationCount_, 0);
    for (int entry = 0; entry < frameListBytes_; entry += 4) {
        const std::int32_t offset = I32LE(andt, entry);
        EXPECT_EQ(offset % 32, 0);
        EXPECT_GE(offset, 0);
        EXPECT_LT(offset / 32, recordCount_);
    }
    const int size = static_cast<int>(andt.size());
    for (int a = 0; a < animationCount_; ++a) {
        const int record = size - 16 * (a + 1);
        EXPECT_NE(andt[record], 0xFF);
        for (int field = 1; field <= 3; ++field) {
            const std::int32_t position = I32LE(andt, record + 4 * field);
            const int entry = size + position;
            EXPECT_LT(position, 0);
            EXPECT_EQ(position % 4, 0);
            EXPECT_GE(entry, 0) << "animation " << a;
            EXPECT_LT(entry, frameListBytes_) << "animation " << a << " field " << field;
        }
    }
}

TEST_F(MapFile, EveryCellNamesARecordAndTheWorldIsVaried) {
    const Bytes& body = chunks_["BODY"];
    const Bytes& andt = chunks_["ANDT"];
    std::set<int> blocksShown;
    int animatedCells = 0;
    for (int cell = 0; cell < kWidth * kHeight; ++cell) {
        const int value = I16LE(body, 2 * cell);
        int record = 0;
        if (value >= 0) {
            ASSERT_EQ(value % 32, 0) << "cell " << cell;
            record = value / 32;
        } else {
            ASSERT_EQ(-value % 16, 0) << "cell " << cell;
            ASSERT_LE(-value / 16, animationCount_) << "cell " << cell;
            const int current = static_cast<int>(andt.size()) +
                                I32LE(andt, static_cast<int>(andt.size()) + value + 4);
            record = I32LE(andt, current) / 32;
            ++animatedCells;
        }
        ASSERT_LT(record, recordCount_) << "cell " << cell;
        blocksShown.insert(I32LE(chunks_["BKDT"], 32 * record) / kGraphicBytes);
    }
    EXPECT_GT(animatedCells, 0);
    EXPECT_GE(blocksShown.size(), 30u);
    // The edges of the world are drawn differently from its inside: the border cells all
    // show blocks that appear nowhere in the middle.
    auto shown = [&](int column, int row) {
        const int value = I16LE(body, 2 * (row * kWidth + column));
        return value >= 0 ? value : -1;
    };
    EXPECT_NE(shown(0, 10), shown(5, 10));
    EXPECT_NE(shown(20, 0), shown(20, 5));
}

TEST_F(MapFile, PaletteAndPixelsAreRealColours) {
    const Bytes& cmap = chunks_["CMAP"];
    std::set<std::tuple<int, int, int>> colours;
    for (int i = 0; i < 256; ++i) colours.insert({cmap[3 * i], cmap[3 * i + 1], cmap[3 * i + 2]});
    EXPECT_GT(colours.size(), 200u);
    EXPECT_EQ(cmap[0] + cmap[1] + cmap[2], 0) << "entry 0 is the black key index";
    // The block graphics are painted, not flat fills: they use hundreds of 16-bit colours.
    const Bytes& graphics = chunks_["BGFX"];
    std::set<int> values;
    for (std::size_t i = 0; i < graphics.size(); i += 2)
        values.insert(graphics[i] << 8 | graphics[i + 1]);
    EXPECT_GT(values.size(), 500u);
}

}  // namespace
}  // namespace datagen_test
