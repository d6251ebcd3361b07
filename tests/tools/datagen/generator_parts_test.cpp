// SPDX-License-Identifier: MIT
// The generator's own building blocks, where a fault would not show as a malformed file:
// the elementary functions that everything is computed with, the canvas that paints a drawing
// at any size, and the writers' refusals.

#include <gtest/gtest.h>

#include <stdexcept>

#include "canvas.h"
#include "file_readers.h"
#include "fmp_writer.h"
#include "palette.h"
#include "stable_math.h"
#include "wav_writer.h"

namespace datagen_test {
namespace {

TEST(StableMath, AgreesWithKnownValuesInEveryQuadrant) {
    EXPECT_NEAR(datagen::SineTurns(0.0), 0.0, 1e-12);
    EXPECT_NEAR(datagen::SineTurns(1.0 / 12.0), 0.5, 1e-12);
    EXPECT_NEAR(datagen::SineTurns(0.25), 1.0, 1e-12);
    EXPECT_NEAR(datagen::SineTurns(0.6), -0.587785252292473, 1e-12);
    EXPECT_NEAR(datagen::SineTurns(-0.25), -1.0, 1e-12);
    EXPECT_NEAR(datagen::SineTurns(1000.125), 0.707106781186548, 1e-9);
    EXPECT_NEAR(datagen::CosineTurns(0.5), -1.0, 1e-12);
    EXPECT_NEAR(datagen::Exp(1.0), 2.718281828459045, 1e-12);
    EXPECT_NEAR(datagen::Exp(-5.0), 0.006737946999085467, 1e-15);
    EXPECT_NEAR(datagen::Exp(10.0) / 22026.465794806718, 1.0, 1e-12);
    EXPECT_NEAR(datagen::Sqrt(2.0), 1.4142135623730951, 1e-15);
    EXPECT_EQ(datagen::Sqrt(-4.0), 0.0);
    EXPECT_NEAR(datagen::AngleTurns(1, 0), 0.0, 1e-12);
    EXPECT_NEAR(datagen::AngleTurns(1, 1), 0.125, 1e-12);
    EXPECT_NEAR(datagen::AngleTurns(-1, 2), 0.32379180882521663, 1e-12);
    EXPECT_NEAR(datagen::AngleTurns(-3, -1), 0.5512081911747834, 1e-12);
    EXPECT_NEAR(datagen::AngleTurns(0.5, -2), 0.7889895651886847, 1e-12);
}

datagen::TileMap SmallMap() {
    datagen::TileMap map;
    map.widthInBlocks = 2;
    map.heightInBlocks = 1;
    map.blockWidth = 2;
    map.blockHeight = 2;
    map.graphics.assign(2, datagen::FilledImage(2, 2, {255, 128, 64}));
    map.blockGraphics = {0, 1, 1};
    map.animations = {{{0, 2}, 1, 5}};
    map.cells = {{false, 2}, {true, 0}};
    return map;
}

// How much a canvas is covered, and where, in units: the painted opacity summed over its
// pixels and their opacity-weighted centre.
struct Coverage {
    double area = 0, centreX = 0, centreY = 0;
};

Coverage CoverageInUnits(const datagen::Canvas& canvas) {
    Coverage coverage;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const double alpha = canvas.At(x, y).alpha;
            coverage.area += alpha;
            coverage.centreX += alpha * (x + 0.5);
            coverage.centreY += alpha * (y + 0.5);
        }
    }
    const double scale = canvas.PixelsPerUnit();
    if (coverage.area > 0) {
        coverage.centreX /= coverage.area * scale;
        coverage.centreY /= coverage.area * scale;
    }
    coverage.area /= scale * scale;
    return coverage;
}

TEST(Canvas, ShapesAndGlowsKeepTheirPlaceAndSizeInUnitsAtEveryScale) {
    const datagen::Colour white{255, 255, 255};
    for (double scale : {1.0, 1.5, 4.0}) {
        SCOPED_TRACE(scale);
        const int size = static_cast<int>(32 * scale);
        datagen::Canvas disc(size, size, scale);
        datagen::FillShape(disc, {20, 5, 28, 13}, datagen::Circle(24, 9, 3), white);
        const Coverage painted = CoverageInUnits(disc);
        EXPECT_NEAR(painted.area, datagen::kPi * 9, 0.3);
        EXPECT_NEAR(painted.centreX, 24, 0.05);
        EXPECT_NEAR(painted.centreY, 9, 0.05);

        // A glow's opacity falls as (1 - d / radius)^2, which sums to pi * radius^2 / 6.
        datagen::Canvas glow(size, size, scale);
        datagen::Glow(glow, 10, 22, 6, white, 1.0);
        const Coverage lit = CoverageInUnits(glow);
        EXPECT_NEAR(lit.area, datagen::kPi * 6, 0.5);
        EXPECT_NEAR(lit.centreX, 10, 0.05);
        EXPECT_NEAR(lit.centreY, 22, 0.05);
    }
}

TEST(FmpWriter, CellsNameRecordsByByteOffsetAndAnimationsFromTheEnd) {
    std::string problem;
    const std::optional<ChunkFile> file = ChunkFile::Read(datagen::EncodeFmp(SmallMap()), problem);
    ASSERT_TRUE(file.has_value()) << problem;
    const Bytes& body = file->chunks.at("BODY");
    EXPECT_EQ(I16LE(body, 0), 64);   // record 2
    EXPECT_EQ(I16LE(body, 2), -16);  // animation record 0, the last 16 bytes of ANDT
    // ANDT: two frame entries, the end marker, one record whose current frame is entry 1.
    const Bytes& andt = file->chunks.at("ANDT");
    ASSERT_EQ(andt.size(), 8u + 16 + 16);
    EXPECT_EQ(I32LE(andt, 0), 0);
    EXPECT_EQ(I32LE(andt, 4), 64);
    EXPECT_EQ(andt[8], 0xFF);
    EXPECT_EQ(I32LE(andt, 24 + 4), 4 - 40);
    // Pixels: (255, 128, 64) as big-endian 5-6-5.
    const Bytes& bgfx = file->chunks.at("BGFX");
    EXPECT_EQ(bgfx[0] << 8 | bgfx[1], 0xFC08);
    EXPECT_EQ(I32LE(file->chunks.at("BKDT"), 32 * 2), 8);  // graphic 1 of 2 x 2 x 2 bytes
}

TEST(FmpWriter, RefusesMapsThatNameWhatDoesNotExist) {
    datagen::TileMap missingRecord = SmallMap();
    missingRecord.cells[0] = {false, 3};
    datagen::TileMap missingAnimation = SmallMap();
    missingAnimation.cells[1] = {true, 1};
    datagen::TileMap badCurrentFrame = SmallMap();
    badCurrentFrame.animations[0].currentFrame = 2;
    datagen::TileMap missingGraphic = SmallMap();
    missingGraphic.blockGraphics[1] = 2;
    datagen::TileMap oddGraphic = SmallMap();
    oddGraphic.graphics[1] = datagen::FilledImage(3, 2, {});
    datagen::TileMap shortBody = SmallMap();
    shortBody.cells.pop_back();
    for (const datagen::TileMap* map : {&missingRecord, &missingAnimation, &badCurrentFrame,
                                        &missingGraphic, &oddGraphic, &shortBody}) {
        EXPECT_THROW(datagen::EncodeFmp(*map), std::invalid_argument);
    }
}

TEST(WavWriter, RefusesSamplesThatWouldClip) {
    EXPECT_THROW(datagen::EncodeWav({22050, {0.0, 1.5, 0.0}}), std::runtime_error);
    const Bytes ok = datagen::EncodeWav({22050, {0.0, 1.0, -1.0}});
    EXPECT_EQ(I16LE(ok, 46), 32767);
    EXPECT_EQ(I16LE(ok, 48), -32767);
}

TEST(Palette, KeepsBlackFirstAndTheColoursOfTheImages) {
    datagen::RgbImage image = datagen::FilledImage(4, 1, {200, 10, 10});
    image.pixels[1] = {10, 200, 10};
    image.pixels[2] = {10, 10, 200};
    const auto palette = datagen::BuildPalette({image});
    EXPECT_EQ(palette[0], (datagen::Rgb8{0, 0, 0}));
    for (const datagen::Rgb8& colour : image.pixels) {
        EXPECT_NE(std::find(palette.begin() + 1, palette.end(), colour), palette.end());
    }
}

}  // namespace
}  // namespace datagen_test
