// SPDX-License-Identifier: MIT
// The game's sounds through the fake host: the device and the six sounds at start-up, the gong
// at its end, missing sound files, and a machine without a sound device.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "cdx/error/cdxerror.h"
#include "game/spine/zelto.h"
#include "platform/fake/fake_host.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

using namespace cdx;
using namespace zelto;

class GameSoundTest : public ::testing::Test {
protected:
    void SetUp() override { SetHost(&host); }

    void TearDown() override {
        if (!dataFolder_.empty()) {
            fs::current_path(dataFolder_);
            fs::remove_all(copyFolder_);
        }
    }

    void CloseAtBlank(std::uint64_t blank) {
        host.AtBlank(blank, [](FakeHost& h) { h.QueueEvent(HostEvent::Kind::CloseRequested); });
    }

    int Run() { return WinMain(game, nullptr, nullptr, "", SW_SHOWNORMAL); }

    // Runs the game from a copy of the data folder without the named files.
    void WorkWithout(std::initializer_list<const char*> missing) {
        dataFolder_ = fs::current_path();
        copyFolder_ = fs::temp_directory_path() / ("zelto-data-" + std::to_string(getpid()));
        fs::remove_all(copyFolder_);
        fs::create_directories(copyFolder_);
        for (const auto& entry : fs::directory_iterator(dataFolder_)) {
            const std::string name = entry.path().filename().string();
            if (std::find(missing.begin(), missing.end(), name) != missing.end()) continue;
            fs::create_symlink(entry.path(), copyFolder_ / name);
        }
        fs::current_path(copyFolder_);
    }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : host.MessageBoxes()) texts.push_back(box.text);
        return texts;
    }

    FakeHost host;
    Game game;

private:
    fs::path dataFolder_;
    fs::path copyFolder_;
};

}  // namespace

TEST_F(GameSoundTest, StartUpLoadsTheSixSoundsAndEndsWithTheGong) {
    const void* gong = nullptr;
    std::int32_t soundDisabled = 1;
    int loaded = 0;
    host.AtBlank(1, [&](FakeHost&) {
        gong = game.GongSound->Copies[0].get();
        soundDisabled = game.GameSound->SoundDisabled;
        for (auto* sound : {&game.PickSound, &game.SpawnSound, &game.GongSound, &game.GruntSound,
                            &game.ExplodeSound, &game.MonsterSound}) {
            if (*sound && (*sound)->Copies) ++loaded;
        }
    });
    CloseAtBlank(5);
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_EQ(soundDisabled, 0);
    EXPECT_EQ(loaded, 6);
    ASSERT_FALSE(host.SoundRecords().empty());
    const auto& first = host.SoundRecords()[0];
    EXPECT_EQ(first.event.kind, SoundEvent::Kind::Played);
    EXPECT_EQ(first.event.buffer, gong);
    EXPECT_EQ(first.blank, 0u);  // before the first frame
    EXPECT_EQ(first.event.frequency, 22050u);
    // ReleaseGame let go of the device, and with it the host's sound output.
    EXPECT_FALSE(host.SoundOpen());
    EXPECT_EQ(game.GameSound, nullptr);
    EXPECT_EQ(game.PickSound, nullptr);
}

TEST_F(GameSoundTest, AMissingSoundIsFatalAfterEarlierMessagesAndStartUpGoesOn) {
    WorkWithout({"MON.WAV"});
    EXPECT_EQ(Run(), kReportedFailureExitCode);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Cant load File MON.WAV"}));
    EXPECT_EQ(host.MessageBoxes()[0].type, MB_OK | MB_ICONERROR);
    // The map loaded (no message of its own) and start-up went on to the gong; no frame ran
    // (the report showed the front buffer for its box, and no blank came).
    ASSERT_EQ(host.SoundRecords().size(), 1u);
    EXPECT_EQ(host.SoundRecords()[0].event.kind, SoundEvent::Kind::Played);
    EXPECT_EQ(host.Blank(), 0u);
}

TEST_F(GameSoundTest, SeveralMissingSoundsGiveOneMessageEachInTheirOrder) {
    WorkWithout({"Xplode.WAV", "Pick.WAV", "MON.WAV"});
    EXPECT_EQ(Run(), kReportedFailureExitCode);
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"Cant load File Pick.WAV", "Cant load File XPLODE.WAV",
                                        "Cant load File MON.WAV"}));
    EXPECT_EQ(host.Blank(), 0u);
}

TEST_F(GameSoundTest, WithoutASoundDeviceTheAnswerYesRunsTheGameSilently) {
    host.RemoveSoundDevice();
    CloseAtBlank(10);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{
                  "DirectSound Error 'DSERR_NODRIVER.'\nContinue with Sound turned off?"}));
    EXPECT_EQ(host.PictureCount(), 10u);
    EXPECT_TRUE(host.SoundRecords().empty());
}

TEST_F(GameSoundTest, WithoutASoundDeviceTheAnswerNoEndsTheGameBeforeAnyFrame) {
    host.RemoveSoundDevice();
    host.AnswerMessageBoxes({IDNO});
    EXPECT_EQ(Run(), kReportedFailureExitCode);
    // The question is the only message: no second report follows the user's own No.
    EXPECT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.PictureCount(), 0u);
}

TEST_F(GameSoundTest, MSilencesAllSoundAtOnceAndAgainLetsItBeHeard) {
    constexpr std::size_t kFramesPerBlank = kSoundRate / kRefreshRate;
    const auto loud = [this](std::uint64_t from, std::uint64_t to) {
        const auto& samples = host.MixedSound();
        const std::size_t begin = std::min(samples.size(), 2 * from * kFramesPerBlank);
        const std::size_t end = std::min(samples.size(), 2 * to * kFramesPerBlank);
        return std::any_of(samples.begin() + static_cast<std::ptrdiff_t>(begin),
                           samples.begin() + static_cast<std::ptrdiff_t>(end),
                           [](std::int16_t sample) { return sample != 0; });
    };
    host.KeepSound(true);
    host.KeepText(true);
    // Start-up's gong rings, M silences it at once; a click starts a stage while silent; M
    // again lets the gong be heard from where it has got to.
    host.AtBlank(10, [](FakeHost& h) { h.SetKey(kScanM, true); });
    host.AtBlank(16, [](FakeHost& h) { h.SetKey(kScanM, false); });
    host.AtBlank(20, [](FakeHost& h) { h.SetMouseButton(0, true); });
    host.AtBlank(26, [](FakeHost& h) { h.SetMouseButton(0, false); });
    host.AtBlank(70, [](FakeHost& h) { h.SetKey(kScanM, true); });
    host.AtBlank(76, [](FakeHost& h) { h.SetKey(kScanM, false); });
    CloseAtBlank(90);
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(loud(0, 10));
    EXPECT_FALSE(loud(12, 70));
    EXPECT_TRUE(loud(72, 90));
    // What the run ends with is what the next run starts with.
    EXPECT_FALSE(game.Options.muted);
    // Each M says what it did: over the intro's picture below its plate, and over the
    // instruction screen's map, written onto the picture it holds.
    std::vector<std::pair<int, bool>> offPlaces;
    std::vector<std::pair<int, bool>> onPlaces;
    for (const auto& record : host.KeptText()) {
        if (record.colour != 0xFFFFFF) continue;  // the labels' shadows
        if (record.text == "Sound off") offPlaces.emplace_back(record.y, record.onPrimary);
        if (record.text == "Sound on") onPlaces.emplace_back(record.y, record.onPrimary);
    }
    ASSERT_FALSE(offPlaces.empty());
    EXPECT_EQ(offPlaces.front(), (std::pair{330, false}));
    ASSERT_FALSE(onPlaces.empty());
    EXPECT_EQ(onPlaces.front(), (std::pair{270, true}));
}

TEST_F(GameSoundTest, AKeptMuteStartsSilentWithTheDeviceOpenAndMLetsItBeHeard) {
    game.Options.muted = true;
    host.KeepSound(true);
    host.AtBlank(30, [](FakeHost& h) { h.SetKey(kScanM, true); });
    host.AtBlank(36, [](FakeHost& h) { h.SetKey(kScanM, false); });
    CloseAtBlank(60);
    const int exitCode = Run();
    const bool mutedAtTheEnd = game.Options.muted;
    EXPECT_EQ(exitCode, 0);
    const auto& samples = host.MixedSound();
    const std::size_t unmuted = 2 * 32 * (kSoundRate / kRefreshRate);
    ASSERT_GT(samples.size(), unmuted);
    EXPECT_TRUE(std::all_of(samples.begin(), samples.begin() + unmuted / 2,
                            [](std::int16_t sample) { return sample == 0; }));
    EXPECT_TRUE(std::any_of(samples.begin() + unmuted, samples.end(),
                            [](std::int16_t sample) { return sample != 0; }));
    EXPECT_FALSE(mutedAtTheEnd);
}

TEST_F(GameSoundTest, StartingMutedOpensNoSoundDeviceAndAsksNothing) {
    host.RemoveSoundDevice();
    game.Options.noSound = true;
    CloseAtBlank(10);
    const int exitCode = Run();
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_EQ(host.PictureCount(), 10u);
}
