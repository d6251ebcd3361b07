// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "data_files.h"
#include "file_readers.h"

namespace datagen_test {
namespace {

class SoundFile : public testing::TestWithParam<const char*> {};

TEST_P(SoundFile, HeaderAgreesWithTheSamplesWhichAreShortCleanAndUnclipped) {
    const Bytes file = ReadFile(GameFile(GetParam()));
    ASSERT_GE(file.size(), 44u);
    EXPECT_EQ(Tag(file, 0), "RIFF");
    EXPECT_EQ(U32LE(file, 4), file.size() - 8);
    EXPECT_EQ(Tag(file, 8), "WAVE");
    EXPECT_EQ(Tag(file, 12), "fmt ");
    EXPECT_EQ(U32LE(file, 16), 16u);
    EXPECT_EQ(U16LE(file, 20), 1) << "PCM";
    const int channels = U16LE(file, 22);
    const std::uint32_t rate = U32LE(file, 24);
    const int blockAlign = U16LE(file, 32);
    const int bits = U16LE(file, 34);
    EXPECT_TRUE(channels == 1 || channels == 2);
    EXPECT_TRUE(rate == 22050 || rate == 44100);
    ASSERT_EQ(bits, 16);
    EXPECT_EQ(blockAlign, channels * bits / 8);
    EXPECT_EQ(U32LE(file, 28), rate * blockAlign);
    EXPECT_EQ(Tag(file, 36), "data");
    const std::uint32_t dataLength = U32LE(file, 40);
    ASSERT_EQ(dataLength, file.size() - 44);
    ASSERT_EQ(dataLength % blockAlign, 0u);

    const std::size_t count = dataLength / 2;
    const double seconds = static_cast<double>(count) / channels / rate;
    EXPECT_GT(seconds, 0.1);
    EXPECT_LT(seconds, 4.0);
    int peak = 0;
    for (std::size_t i = 0; i < count; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(I16LE(file, 44 + 2 * i))));
    EXPECT_LT(peak, 32000) << "too close to clipping";
    EXPECT_GT(peak, 10000) << "too quiet";
    // Starts and ends at silence, so playing it does not click.
    EXPECT_LT(std::abs(I16LE(file, 44)), 200);
    EXPECT_LT(std::abs(I16LE(file, file.size() - 2)), 200);
}

INSTANTIATE_TEST_SUITE_P(AllSounds, SoundFile,
                         testing::Values(zelto::kPickSoundFile, zelto::kSpawnSoundFile,
                                         zelto::kGongSoundFile, zelto::kGruntSoundFile,
                                         zelto::kExplodeSoundFile, zelto::kMonsterSoundFile),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace datagen_test
