// SPDX-License-Identifier: MIT
// The sound service on the fake host: buffers in every PCM format mixed at their pitch and
// length, frequency, pan and volume, loops and positions, duplicates, locks, refusals, loss.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/fake/fake_host.h"
#include "platform/sound/sound_buffer.h"
#include "platform/sound/sound_device.h"
#include "sound_analysis.h"
#include "wav_builder.h"

using namespace platform;

namespace {

const HWND kWindow = reinterpret_cast<HWND>(1);
constexpr DWORD kAllControls = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN |
                               DSBCAPS_CTRLVOLUME | DSBCAPS_GETCURRENTPOSITION2;

WAVEFORMATEX FormatOf(const WavFields& fields) {
    WAVEFORMATEX format;
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = fields.channels;
    format.nSamplesPerSec = fields.samplesPerSecond;
    format.nBlockAlign = static_cast<std::uint16_t>(fields.channels * fields.bitsPerSample / 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    format.wBitsPerSample = fields.bitsPerSample;
    return format;
}

DSBUFFERDESC Describe(const WAVEFORMATEX& format, DWORD bytes, DWORD flags = kAllControls) {
    DSBUFFERDESC desc;
    desc.dwSize = kSoundBufferDescSize;
    desc.dwFlags = flags;
    desc.dwBufferBytes = bytes;
    desc.lpwfxFormat = &format;
    return desc;
}

class SoundServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetHost(&host);
        host.KeepSound(true);
        ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
        ASSERT_EQ(device->SetCooperativeLevel(kWindow, DSSCL_NORMAL), DS_OK);
    }

    std::shared_ptr<SoundBuffer> MakeBuffer(const WavFields& fields,
                                            const std::vector<std::uint8_t>& samples,
                                            DWORD flags = kAllControls) {
        const WAVEFORMATEX format = FormatOf(fields);
        const DSBUFFERDESC desc = Describe(format, static_cast<DWORD>(samples.size()), flags);
        std::shared_ptr<SoundBuffer> buffer;
        EXPECT_EQ(device->CreateSoundBuffer(&desc, &buffer), DS_OK);
        if (!buffer) return nullptr;
        void* data = nullptr;
        DWORD length = 0;
        EXPECT_EQ(buffer->Lock(0, 0, &data, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER),
                  DS_OK);
        EXPECT_EQ(length, samples.size());
        std::memcpy(data, samples.data(), length);
        EXPECT_EQ(buffer->Unlock(data, length, nullptr, 0), DS_OK);
        return buffer;
    }

    HeardTone Heard(int channel = 0) { return ListenTo(host.MixedSound(), kSoundRate, channel); }

    FakeHost host;
    std::shared_ptr<SoundDevice> device;
};

}  // namespace

TEST_F(SoundServiceTest, EveryPcmFormatPlaysAtItsPitchForItsLength) {
    for (std::uint16_t bits : {8, 16}) {
        for (std::uint16_t channels : {1, 2}) {
            for (std::uint32_t rate : {11025u, 22050u, 44100u, 48000u}) {
                SCOPED_TRACE(testing::Message()
                             << bits << " bits, " << channels << " channels, " << rate << " Hz");
                const WavFields fields{1, channels, rate, bits};
                auto buffer = MakeBuffer(fields, Tone(fields, 441, 0.25));
                host.KeepSound(true);
                ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
                host.AdvanceMilliseconds(400);
                for (int channel : {0, 1}) {
                    const HeardTone tone = Heard(channel);
                    ASSERT_TRUE(tone.found);
                    EXPECT_NEAR(tone.startSeconds, 0.0, 0.002);
                    EXPECT_NEAR(tone.seconds, 0.25, 0.004);
                    EXPECT_NEAR(tone.hz, 441, 5);
                    // SDL's resampling filter rings a little past the source's peaks.
                    EXPECT_NEAR(tone.peak, 16384, 2000);
                }
                DWORD status = 1;
                EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
                EXPECT_EQ(status, 0u);
                ASSERT_FALSE(host.SoundRecords().empty());
                EXPECT_EQ(host.SoundRecords().back().event.kind, SoundEvent::Kind::Finished);
            }
        }
    }
}

TEST_F(SoundServiceTest, FrequencyScalesPitchAndLengthAndZeroMeansTheBuffersOwnRate) {
    const WavFields fields{1, 1, 22050, 16};
    auto buffer = MakeBuffer(fields, Tone(fields, 300, 0.4));
    ASSERT_EQ(buffer->SetFrequency(44100), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    host.AdvanceMilliseconds(500);
    HeardTone tone = Heard();
    EXPECT_NEAR(tone.seconds, 0.2, 0.004);
    EXPECT_NEAR(tone.hz, 600, 8);

    ASSERT_EQ(buffer->SetFrequency(0), DS_OK);
    DWORD frequency = 0;
    ASSERT_EQ(buffer->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 22050u);
    host.KeepSound(true);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    host.AdvanceMilliseconds(500);
    tone = Heard();
    EXPECT_NEAR(tone.seconds, 0.4, 0.004);
    EXPECT_NEAR(tone.hz, 300, 5);
}

TEST_F(SoundServiceTest, VolumeAndPanAttenuateInHundredthsOfADecibel) {
    const WavFields fields{1, 1, 44100, 16};
    auto buffer = MakeBuffer(fields, Tone(fields, 441, 0.1));
    ASSERT_EQ(buffer->SetVolume(-600), DS_OK);  // -6 dB: about half
    ASSERT_EQ(buffer->SetPan(10000), DS_OK);    // right only
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    host.AdvanceMilliseconds(200);
    EXPECT_FALSE(Heard(0).found);
    EXPECT_NEAR(Heard(1).peak, 16384 / 2, 300);

    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetPan(10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetFrequency(99), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetFrequency(100001), DSERR_INVALIDPARAM);

    auto plain = MakeBuffer(fields, Tone(fields, 441, 0.1), DSBCAPS_STATIC);
    EXPECT_EQ(plain->SetPan(0), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetVolume(0), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetFrequency(0), DSERR_CONTROLUNAVAIL);
}

TEST_F(SoundServiceTest, ALoopPlaysOnUntilStoppedAndStopHoldsThePosition) {
    const WavFields fields{1, 1, 22050, 16};
    auto buffer = MakeBuffer(fields, Tone(fields, 441, 0.1));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    host.AdvanceMilliseconds(350);
    DWORD status = 0;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    EXPECT_NEAR(Heard().seconds, 0.35, 0.004);
    ASSERT_EQ(buffer->Stop(), DS_OK);
    DWORD play = 0;
    DWORD write = 0;
    ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
    // 350 ms into a loop of 100 ms: 50 ms in, 2 bytes a frame.
    EXPECT_NEAR(play, 0.05 * 22050 * 2, 4);
    EXPECT_EQ(play % 2, 0u);
    host.AdvanceMilliseconds(100);
    DWORD later = 0;
    buffer->GetCurrentPosition(&later, nullptr);
    EXPECT_EQ(later, play);

    // A position set while stopped is where the next play starts; past the end is refused.
    EXPECT_EQ(buffer->SetCurrentPosition(4410 * 2), DSERR_INVALIDPARAM);
    ASSERT_EQ(buffer->SetCurrentPosition(1103 * 2), DS_OK);
    host.KeepSound(true);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    host.AdvanceMilliseconds(200);
    EXPECT_NEAR(Heard().seconds, 0.05, 0.003);
    buffer->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(play, 0u);  // a sound played to its end rests at its start
}

TEST_F(SoundServiceTest, DuplicatesShareTheSamplesAndPlayOnTheirOwn) {
    const WavFields fields{1, 1, 44100, 16};
    auto original = MakeBuffer(fields, Tone(fields, 441, 0.1));
    std::shared_ptr<SoundBuffer> duplicate;
    ASSERT_EQ(device->DuplicateSoundBuffer(original, &duplicate), DS_OK);
    ASSERT_NE(duplicate, nullptr);
    EXPECT_EQ(duplicate->samples(), original->samples());

    ASSERT_EQ(original->Play(0, 0, 0), DS_OK);
    host.AdvanceMilliseconds(50);
    ASSERT_EQ(duplicate->Play(0, 0, 0), DS_OK);
    host.AdvanceMilliseconds(75);
    DWORD status = 0;
    original->GetStatus(&status);
    EXPECT_EQ(status, 0u);
    duplicate->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING);
    host.AdvanceMilliseconds(100);
    // Both sound, overlapping for 50 ms: 150 ms of sound, twice as loud where they overlap.
    const HeardTone tone = Heard();
    EXPECT_NEAR(tone.seconds, 0.15, 0.003);
    EXPECT_GT(tone.peak, 30000);
}

TEST_F(SoundServiceTest, APreparedBufferSoundsExactlyAsOneConvertedAtPlayUnlessItChangedSince) {
    const WavFields fields{1, 1, 22050, 8};
    const std::vector<std::uint8_t> gong = Tone(fields, 300, 0.2);
    const std::vector<std::uint8_t> other = Tone(fields, 500, 0.1);
    // Every sample the mixer makes of buffer after its play, played alone.
    const auto mixedAfterPlay = [this](SoundBuffer& buffer) {
        host.KeepSound(true);
        EXPECT_EQ(buffer.Play(0, 0, 0), DS_OK);
        host.AdvanceMilliseconds(300);
        return host.MixedSound();
    };
    auto plain = MakeBuffer(fields, gong);
    const std::vector<std::int16_t> expected = mixedAfterPlay(*plain);
    ASSERT_TRUE(Heard().found);

    auto prepared = MakeBuffer(fields, gong);
    prepared->PrepareVoice();
    prepared->PrepareVoice();  // one preparation at a time: the second call does nothing
    EXPECT_EQ(mixedAfterPlay(*prepared), expected);

    // Samples written or a frequency set after the preparation: Play converts them afresh, and
    // the buffer sounds as one made with them from the start.
    std::vector<std::uint8_t> rewrittenSamples(gong.size(), 128);
    std::copy(other.begin(), other.end(), rewrittenSamples.begin());
    auto rewritten = MakeBuffer(fields, gong);
    rewritten->PrepareVoice();
    void* data = nullptr;
    DWORD length = 0;
    ASSERT_EQ(rewritten->Lock(0, 0, &data, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    std::memcpy(data, rewrittenSamples.data(), length);
    ASSERT_EQ(rewritten->Unlock(data, length, nullptr, 0), DS_OK);
    const std::vector<std::int16_t> heardRewritten = mixedAfterPlay(*rewritten);
    EXPECT_NE(heardRewritten, expected);
    EXPECT_EQ(heardRewritten, mixedAfterPlay(*MakeBuffer(fields, rewrittenSamples)));

    auto faster = MakeBuffer(fields, gong);
    faster->PrepareVoice();
    ASSERT_EQ(faster->SetFrequency(44100), DS_OK);
    const std::vector<std::int16_t> heardFaster = mixedAfterPlay(*faster);
    auto fasterFromTheStart = MakeBuffer(fields, gong);
    ASSERT_EQ(fasterFromTheStart->SetFrequency(44100), DS_OK);
    EXPECT_NE(heardFaster, expected);
    EXPECT_EQ(heardFaster, mixedAfterPlay(*fasterFromTheStart));

    // A buffer released with its preparation still running waits for it.
    auto dropped = MakeBuffer(fields, gong);
    dropped->PrepareVoice();
    dropped.reset();
}

TEST_F(SoundServiceTest, TheMixSaturatesRatherThanWrapping) {
    const WavFields fields{1, 1, 44100, 16};
    std::vector<std::uint8_t> loud;
    for (int i = 0; i < 4410; ++i) {
        loud.push_back(0x00);
        loud.push_back(0x70);  // 28672
    }
    auto first = MakeBuffer(fields, loud);
    auto second = MakeBuffer(fields, loud);
    first->Play(0, 0, 0);
    second->Play(0, 0, 0);
    host.AdvanceMilliseconds(50);
    const auto& mixed = host.MixedSound();
    ASSERT_GT(mixed.size(), 2000u);
    EXPECT_EQ(mixed[2000], 32767);
}

TEST_F(SoundServiceTest, LocksGiveTheWholeBufferOrAWrappedRegion) {
    const WavFields fields{1, 1, 22050, 8};
    auto buffer = MakeBuffer(fields, std::vector<std::uint8_t>(100, 0x80));
    const std::uint8_t* start = buffer->samples()->bytes.get();
    void* first = nullptr;
    DWORD firstBytes = 0;
    void* second = nullptr;
    DWORD secondBytes = 0;
    ASSERT_EQ(buffer->Lock(90, 30, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(first, start + 90);
    EXPECT_EQ(firstBytes, 10u);
    EXPECT_EQ(second, start);
    EXPECT_EQ(secondBytes, 20u);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);

    EXPECT_EQ(buffer->Lock(100, 1, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 101, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(90, 30, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    std::uint8_t elsewhere[4];
    EXPECT_EQ(buffer->Unlock(elsewhere, 4, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(first, 101, nullptr, 0), DSERR_INVALIDPARAM);
}

TEST_F(SoundServiceTest, BuffersOfNoUsableFormatOrSizeAreRefused) {
    const WavFields fields{1, 1, 22050, 16};
    const WAVEFORMATEX good = FormatOf(fields);
    std::shared_ptr<SoundBuffer> buffer;
    auto refusal = [&](WAVEFORMATEX format, DWORD bytes, DWORD size = kSoundBufferDescSize,
                       DWORD flags = kAllControls) {
        DSBUFFERDESC desc = Describe(format, bytes, flags);
        desc.dwSize = size;
        const HRESULT result = device->CreateSoundBuffer(&desc, &buffer);
        EXPECT_EQ(buffer, nullptr);
        return result;
    };
    WAVEFORMATEX format = good;
    format.wFormatTag = 3;
    EXPECT_EQ(refusal(format, 64), DSERR_BADFORMAT);
    format = good;
    format.wBitsPerSample = 12;
    EXPECT_EQ(refusal(format, 64), DSERR_BADFORMAT);
    format = good;
    format.nBlockAlign = 4;
    EXPECT_EQ(refusal(format, 64), DSERR_BADFORMAT);
    format = good;
    format.nChannels = 6;
    format.nBlockAlign = 12;
    format.nAvgBytesPerSec = 12 * 22050;
    EXPECT_EQ(refusal(format, 64), DSERR_BADFORMAT);
    format = good;
    format.nSamplesPerSec = 50;
    format.nAvgBytesPerSec = 100;
    EXPECT_EQ(refusal(format, 64), DSERR_BADFORMAT);
    EXPECT_EQ(refusal(good, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(refusal(good, 3), DSERR_INVALIDPARAM);
    EXPECT_EQ(refusal(good, DSBSIZE_MAX + 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(refusal(good, 64, 24), DSERR_INVALIDPARAM);
    EXPECT_EQ(refusal(good, 64, kSoundBufferDescSize, DSBCAPS_PRIMARYBUFFER), DSERR_UNSUPPORTED);
    EXPECT_EQ(device->CreateSoundBuffer(nullptr, &buffer), DSERR_INVALIDPARAM);

    // No buffers before the cooperative level; no second device while one has the output.
    std::shared_ptr<SoundDevice> second;
    EXPECT_EQ(DirectSoundCreate(nullptr, &second, nullptr), DSERR_NODRIVER);
    device.reset();
    ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    EXPECT_EQ(refusal(good, 64), DSERR_PRIOLEVELNEEDED);
}

TEST_F(SoundServiceTest, WithoutASoundDeviceNoServiceIsMade) {
    device.reset();
    host.RemoveSoundDevice();
    EXPECT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(device, nullptr);
    EXPECT_FALSE(host.SoundOpen());
}

TEST_F(SoundServiceTest, ALostBufferStopsAndIsRestoredWithItsSamples) {
    const WavFields fields{1, 1, 22050, 16};
    auto buffer = MakeBuffer(fields, Tone(fields, 441, 0.2));
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    host.AdvanceMilliseconds(50);
    host.LoseSoundBuffers();
    DWORD status = 0;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_BUFFERLOST);
    void* data = nullptr;
    DWORD length = 0;
    EXPECT_EQ(buffer->Lock(0, 0, &data, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER),
              DSERR_BUFFERLOST);

    host.RefuseSoundRestore(DSERR_BUFFERLOST);
    EXPECT_EQ(buffer->Restore(), DSERR_BUFFERLOST);
    host.RefuseSoundRestore(DS_OK);
    ASSERT_EQ(buffer->Restore(), DS_OK);
    ASSERT_EQ(buffer->SetCurrentPosition(0), DS_OK);
    host.KeepSound(true);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    host.AdvanceMilliseconds(300);
    const HeardTone tone = Heard();
    EXPECT_NEAR(tone.seconds, 0.2, 0.004);
    EXPECT_NEAR(tone.hz, 441, 5);
}

TEST_F(SoundServiceTest, BuffersOutlivingTheirDeviceAnswerButNeverPlay) {
    const WavFields fields{1, 1, 22050, 16};
    auto buffer = MakeBuffer(fields, Tone(fields, 441, 0.2));
    buffer->Play(0, 0, 0);
    device.reset();
    EXPECT_FALSE(host.SoundOpen());
    DWORD status = 0;
    EXPECT_EQ(buffer->GetStatus(&status), DSERR_UNINITIALIZED);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_UNINITIALIZED);
}
