// SPDX-License-Identifier: MIT
// CDXSound and CDXSoundBuffer through the fake host: the device, loading WAV files at their
// fixed offsets, copies and the choice of a free one, refusals of bad files, sound disabled.

#include "cdx/sound/cdxsound.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "cdx/sound/cdxsoundbuffer.h"
#include "platform/fake/fake_host.h"
#include "platform/host/window.h"
#include "wav_builder.h"

using namespace cdx;

using namespace platform;

namespace {

const HWND kWindow = reinterpret_cast<HWND>(1);
const WavFields kTone{1, 1, 22050, 16};

class CDXSoundTest : public ::testing::Test {
protected:
    void SetUp() override { SetHost(&host); }

    void CreateSound() { ASSERT_EQ(sound.Create(kWindow), 1); }

    // The buffers that were started, in order.
    std::vector<const void*> Played() const {
        std::vector<const void*> played;
        for (const auto& record : host.SoundRecords()) {
            if (record.event.kind == SoundEvent::Kind::Played)
                played.push_back(record.event.buffer);
        }
        return played;
    }

    std::vector<std::uint8_t> Samples(CDXSoundBuffer& buffer, int copy) {
        void* data = nullptr;
        DWORD length = 0;
        EXPECT_EQ(
            buffer.Copies[copy]->Lock(0, 0, &data, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER),
            DS_OK);
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        return std::vector<std::uint8_t>(bytes, bytes + length);
    }

    FakeHost host;
    CDXSound sound;
};

}  // namespace

TEST_F(CDXSoundTest, CreateMakesTheDeviceAndEnablesSound) {
    EXPECT_EQ(sound.SoundDisabled, 1);
    CreateSound();
    EXPECT_EQ(sound.SoundDisabled, 0);
    EXPECT_NE(sound.DirectSound, nullptr);
    EXPECT_TRUE(host.SoundOpen());
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(CDXSoundTest, WithOneCopyASecondPlayWhileTheFirstSoundsIsRefused) {
    CreateSound();
    const std::string path = WriteTestFile("one.wav", MakeWav(kTone, Tone(kTone, 441, 0.2)));
    CDXSoundBuffer buffer;
    ASSERT_EQ(buffer.Load(&sound, path.c_str(), 1), 1);
    EXPECT_EQ(buffer.Play(0, 0, 0), 1);
    host.AdvanceMilliseconds(100);
    EXPECT_EQ(buffer.Play(0, 0, 0), 0);
    DWORD status = 0;
    buffer.Copies[0]->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING);
    DWORD position = 0;
    buffer.Copies[0]->GetCurrentPosition(&position, nullptr);
    EXPECT_NEAR(position, 0.1 * 22050 * 2, 4);
    EXPECT_EQ(Played().size(), 1u);
    // Once it has finished, the same copy plays again from the start.
    host.AdvanceMilliseconds(150);
    EXPECT_EQ(buffer.Play(0, 0, 0), 1);
    EXPECT_EQ(Played(), (std::vector<const void*>{buffer.Copies[0].get(), buffer.Copies[0].get()}));
}

TEST_F(CDXSoundTest, WithThreeCopiesQuickPlaysTakeEachInTurnThenStopAndReuseTheFirst) {
    CreateSound();
    const std::string path = WriteTestFile("three.wav", MakeWav(kTone, Tone(kTone, 441, 0.5)));
    CDXSoundBuffer buffer;
    ASSERT_EQ(buffer.Load(&sound, path.c_str(), 3), 1);
    ASSERT_EQ(buffer.CopyCount, 3);
    for (int i = 1; i < 3; ++i) EXPECT_EQ(buffer.Copies[i]->samples(), buffer.Copies[0]->samples());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(buffer.Play(0, 0, 0), 1);
        host.AdvanceMilliseconds(20);
    }
    const void* copies[] = {buffer.Copies[0].get(), buffer.Copies[1].get(), buffer.Copies[2].get()};
    EXPECT_EQ(Played(), (std::vector<const void*>{copies[0], copies[1], copies[2], copies[0]}));
    const auto& records = host.SoundRecords();
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[3].event.kind, SoundEvent::Kind::Stopped);
    EXPECT_EQ(records[3].event.buffer, copies[0]);
    // Copy 0 was stopped 60 ms in and started again from its beginning.
    EXPECT_EQ(records[3].milliseconds, 60u);
    EXPECT_EQ(records[4].event.position, 0u);
    EXPECT_EQ(buffer.CurrentCopy, 0);
}

TEST_F(CDXSoundTest, FieldsAndSamplesComeFromTheFixedOffsets) {
    CreateSound();
    // A "fmt " chunk of 40 bytes: whatever stands at 40 is the data length, samples from 44.
    std::vector<std::uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    auto longFormat = MakeWav(kTone, data, 6);
    PutU32(longFormat, 16, 40);
    const std::string longPath = WriteTestFile("longfmt.wav", longFormat);
    CDXSoundBuffer first;
    ASSERT_EQ(first.Load(&sound, longPath.c_str(), 1), 1);
    EXPECT_EQ(Samples(first, 0), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));

    // An extra chunk before "data": its tag and length are read as the data's.
    auto extra = MakeWav(kTone, {'a', 'b', 'c', 'd', 'd', 'a', 't', 'a', 2, 0, 0, 0, 9, 9}, 4);
    std::memcpy(extra.data() + 36, "LIST", 4);
    const std::string extraPath = WriteTestFile("extra.wav", extra);
    CDXSoundBuffer second;
    ASSERT_EQ(second.Load(&sound, extraPath.c_str(), 1), 1);
    EXPECT_EQ(Samples(second, 0), (std::vector<std::uint8_t>{'a', 'b', 'c', 'd'}));
}

TEST_F(CDXSoundTest, ManyChannelsAreDescribedAsTwoAndAnyFormatTagAsPcm) {
    CreateSound();
    WavFields fields{3, 6, 22050, 16, 4};  // a float tag, 6 channels, 4 bytes a frame
    const std::string path =
        WriteTestFile("six.wav", MakeWav(fields, std::vector<std::uint8_t>(400, 0)));
    CDXSoundBuffer buffer;
    ASSERT_EQ(buffer.Load(&sound, path.c_str(), 1), 1);
    WAVEFORMATEX format;
    ASSERT_EQ(buffer.Copies[0]->GetFormat(&format), DS_OK);
    EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format.nChannels, 2);
    EXPECT_EQ(format.nBlockAlign, 4);
    EXPECT_EQ(format.nAvgBytesPerSec, 4u * 22050);

    // Six real channels of 16 bits (12 bytes a frame) make no stereo format: refused.
    const std::string real = WriteTestFile(
        "six-real.wav", MakeWav(WavFields{1, 6, 22050, 16}, std::vector<std::uint8_t>(240, 0)));
    CDXSoundBuffer refused;
    EXPECT_EQ(refused.Load(&sound, real.c_str(), 1), 0);
    EXPECT_EQ(refused.Copies, nullptr);
}

TEST_F(CDXSoundTest, BadFilesAreRefusedWithNothingKept) {
    CreateSound();
    CDXSoundBuffer buffer;
    EXPECT_EQ(buffer.Load(&sound, "no-such-file.wav", 1), 0);
    EXPECT_EQ(buffer.Load(&sound, nullptr, 1), 0);
    EXPECT_EQ(buffer.Load(nullptr, "x.wav", 1), 0);

    auto whole = MakeWav(kTone, Tone(kTone, 441, 0.01));
    const std::string shortHeader = WriteTestFile(
        "short-header.wav", std::vector<std::uint8_t>(whole.begin(), whole.begin() + 43));
    EXPECT_EQ(buffer.Load(&sound, shortHeader.c_str(), 1), 0);
    // Nothing but a regular file is read: not a folder, not a device that never ends, not a
    // FIFO without a writer (whose plain open waits for one).
    const std::filesystem::path folder = std::filesystem::path(shortHeader).parent_path();
    const std::string directory = folder / "folder.wav";
    const std::string fifo = folder / "fifo.wav";
    std::filesystem::remove_all(directory);
    std::filesystem::remove(fifo);
    ASSERT_TRUE(std::filesystem::create_directory(directory));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& name : {directory, std::string("/dev/zero"), fifo}) {
        EXPECT_EQ(buffer.Load(&sound, name.c_str(), 1), 0) << name;
        EXPECT_EQ(buffer.Copies, nullptr) << name;
    }
    std::filesystem::remove(directory);
    std::filesystem::remove(fifo);
    EXPECT_TRUE(host.DebugLines().empty());

    // More data promised than the file holds: refused before anything is made, with the line.
    for (std::uint32_t length : {1000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(length);
        const std::string path = WriteTestFile(
            "short-data.wav", MakeWav(kTone, std::vector<std::uint8_t>(200, 0), length));
        EXPECT_EQ(buffer.Load(&sound, path.c_str(), 2), 0);
        EXPECT_EQ(buffer.Copies, nullptr);
        EXPECT_EQ(buffer.Sound, nullptr);
        ASSERT_FALSE(host.DebugLines().empty());
        const std::string expected =
            "Data : 0, dwdata: " + std::to_string(static_cast<std::int32_t>(length)) + ", fp: ";
        EXPECT_EQ(host.DebugLines().back().rfind(expected, 0), 0u) << host.DebugLines().back();
    }

    // No samples at all, and a format the service cannot play.
    const std::string empty = WriteTestFile("empty.wav", MakeWav(kTone, {}));
    EXPECT_EQ(buffer.Load(&sound, empty.c_str(), 1), 0);
    const std::string zeroRate = WriteTestFile(
        "zero-rate.wav", MakeWav(WavFields{1, 1, 0, 16}, std::vector<std::uint8_t>(64)));
    EXPECT_EQ(buffer.Load(&sound, zeroRate.c_str(), 1), 0);
    EXPECT_EQ(buffer.Copies, nullptr);
    EXPECT_EQ(buffer.Play(0, 0, 0), 0);
}

TEST_F(CDXSoundTest, ALostCopyIsRestoredWhenNextPlayedUnlessTheRestoreFails) {
    CreateSound();
    const std::string path = WriteTestFile("lost.wav", MakeWav(kTone, Tone(kTone, 441, 0.1)));
    CDXSoundBuffer buffer;
    ASSERT_EQ(buffer.Load(&sound, path.c_str(), 1), 1);
    host.LoseSoundBuffers();
    host.RefuseSoundRestore(DSERR_BUFFERLOST);
    EXPECT_EQ(buffer.Play(0, 0, 0), 0);
    host.RefuseSoundRestore(DS_OK);
    EXPECT_EQ(buffer.Play(0, 0, 0), 1);
    EXPECT_EQ(Played().size(), 1u);
}

TEST_F(CDXSoundTest, PlayBeforeCreateSucceedsAndPlaysNothing) {
    const std::string path = WriteTestFile("before.wav", MakeWav(kTone, Tone(kTone, 441, 0.1)));
    CDXSoundBuffer buffer;
    ASSERT_EQ(buffer.Load(&sound, path.c_str(), 1), 1);
    EXPECT_EQ(buffer.Copies, nullptr);
    EXPECT_EQ(buffer.Play(0, 0, 0), 1);
    EXPECT_TRUE(host.SoundRecords().empty());
    EXPECT_FALSE(host.SoundOpen());
    // A buffer that never loaded has no device and plays nothing either.
    CDXSoundBuffer unloaded;
    EXPECT_EQ(unloaded.Play(0, 0, 0), 0);
}

TEST_F(CDXSoundTest, WithoutASoundDeviceTheUserIsAskedAndYesGoesOnSilently) {
    host.RemoveSoundDevice();
    EXPECT_EQ(sound.Create(kWindow), 1);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text,
              "DirectSound Error 'DSERR_NODRIVER.'\nContinue with Sound turned off?");
    EXPECT_EQ(host.MessageBoxes()[0].type, MB_YESNO);
    EXPECT_EQ(sound.SoundDisabled, 1);
    EXPECT_EQ(sound.DirectSound, nullptr);
    // Even a missing file loads: sound that never plays needs no samples.
    CDXSoundBuffer buffer;
    EXPECT_EQ(buffer.Load(&sound, "no-such-file.wav", 1), 1);
    EXPECT_EQ(buffer.Play(0, 0, 0), 1);
    EXPECT_TRUE(host.SoundRecords().empty());
}
