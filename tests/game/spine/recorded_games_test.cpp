// SPDX-License-Identifier: MIT
// Recorded games: a game recorded on the fake host replays picture for picture and sound for
// sound; a changed game, a program asking out of order, a recording cut at any byte and bad
// files are each met with a clear answer naming where.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "cdx/input/key_codes.h"
#include "game/spine/run_conditions.h"
#include "game/spine/zelto.h"
#include "platform/fake/fake_host.h"
#include "platform/record/loaded_recording.h"
#include "platform/record/recording_encoder.h"
#include "platform/record/recording_file.h"
#include "platform/record/recording_host.h"
#include "platform/record/replay_host.h"

using namespace platform;

namespace {

using Kind = ReplayHost::Outcome::Kind;
constexpr std::uint64_t kPress = 6;

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

RecordingHeader TestHeader() {
    RecordingHeader header;
    header.programVersion = "test";
    header.conditions = zelto::ConditionsOfRun(zelto::GameOptions{}, std::nullopt);
    return header;
}

// A short game: the intro's click, Space on every instruction screen, a course, and Escape
// held from blank 500 on, which ends the game at the first frame of play that reads it.
void ScriptShortGame(FakeHost& host, const zelto::Game& game, bool& spaceGiven) {
    host.AtBlank(60, [](FakeHost& h) { h.SetMouseButton(0, true); });
    host.AtBlank(60 + kPress, [](FakeHost& h) { h.SetMouseButton(0, false); });
    host.AtBlank(500, [](FakeHost& h) { h.SetKey(platform::kScanEscape, true); });
    host.AtEveryBlank([&game, &spaceGiven, nextSpace = std::uint64_t{0}](FakeHost& h) mutable {
        const bool atRest = game.Player && game.Player->VelX == 0 && game.Player->VelY == 0;
        if (!game.Status || game.Status->State != zelto::Playing || !atRest ||
            h.Blank() < nextSpace) {
            return;
        }
        spaceGiven = true;
        // Past the fade the instruction screen waits for Space; then the course.
        const std::uint64_t b = h.Blank();
        nextSpace = b + 120;
        h.AtBlank(b + 90, [](FakeHost& m) { m.SetKey(platform::kScanSpace, true); });
        h.AtBlank(b + 90 + kPress, [](FakeHost& m) { m.SetKey(platform::kScanSpace, false); });
        h.AtBlank(b + 100, [](FakeHost& m) { m.MoveMouse(1, -1); });
    });
}

class RecordedGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("zelto-recorded-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

    // Records the short game into path; the pictures the game showed.
    std::uint64_t RecordShortGame(const std::string& path) {
        FakeHost machine;
        machine.SetPicturesKept(0);
        bool spaceGiven = false;
        zelto::Game game;
        ScriptShortGame(machine, game, spaceGiven);
        RecordingHost recorder(machine);
        std::string problem;
        EXPECT_TRUE(recorder.Start(path, TestHeader(), problem)) << problem;
        SetHost(&recorder);
        zelto::WinMain(game, nullptr, nullptr, "", SW_SHOWNORMAL);
        SetHost(&machine);
        EXPECT_TRUE(recorder.Finish(problem)) << problem;
        EXPECT_TRUE(spaceGiven);
        playedSounds_ = machine.SoundRecords().size();
        return machine.PictureCount();
    }

    // Replays the recording on a fresh fake host and a fresh game; during replays, atBlank runs
    // at every blank.
    ReplayHost::Outcome Replay(const LoadedRecording& recording, std::uint64_t& matched,
                               std::function<void(zelto::Game&)> atBlank = nullptr) {
        FakeHost machine;
        machine.SetPicturesKept(0);
        zelto::Game game;
        if (atBlank) machine.AtEveryBlank([&](FakeHost&) { atBlank(game); });
        ReplayHost replay(machine, recording, ReplayHost::Pace::Unpaced);
        replay.DescribeStateWith([&game] {
            return std::string(game.Status && game.Status->State == zelto::Playing ? "playing"
                                                                                   : "elsewhere");
        });
        SetHost(&replay);
        zelto::WinMain(game, nullptr, nullptr, "", SW_SHOWNORMAL);
        replay.ProgramEnded();
        SetHost(&machine);
        matched = replay.FramesMatched();
        replayedSounds_ = machine.SoundRecords().size();
        return replay.Result();
    }

    std::filesystem::path folder_;
    std::size_t playedSounds_ = 0;
    std::size_t replayedSounds_ = 0;
};

TEST_F(RecordedGameTest, ReplaysPictureForPictureAndStopsAtAChangedGame) {
    const std::string path = PathOf("short.zrec");
    const std::uint64_t pictures = RecordShortGame(path);
    std::string problem;
    const auto recording = LoadedRecording::Load(path, problem);
    ASSERT_TRUE(recording) << problem;
    EXPECT_TRUE(recording->Whole());
    EXPECT_EQ(recording->Frames(), pictures);
    EXPECT_EQ(recording->Header().programVersion, "test");

    std::uint64_t matched = 0;
    ReplayHost::Outcome outcome = Replay(*recording, matched);
    EXPECT_EQ(outcome.kind, Kind::Ended) << outcome.what;
    EXPECT_EQ(matched, pictures);
    EXPECT_EQ(replayedSounds_, playedSounds_);
    EXPECT_GT(playedSounds_, 0u);

    // The same game with one more Energon than it earned: the panel shows it in the next
    // picture, and the replay stops there with the game's state.
    bool changed = false;
    outcome = Replay(*recording, matched, [&changed](zelto::Game& game) {
        if (!changed && game.Status && game.Status->State == zelto::Playing && game.Player &&
            game.Player->VelX != 0) {
            changed = true;
            game.EnergonLevel += 1;
        }
    });
    ASSERT_TRUE(changed);
    EXPECT_EQ(outcome.kind, Kind::Differed);
    EXPECT_EQ(outcome.frame, matched + 1);
    EXPECT_LT(matched, pictures);
    EXPECT_NE(outcome.what.find("the picture differs"), std::string::npos) << outcome.what;
    EXPECT_NE(outcome.what.find("playing"), std::string::npos) << outcome.what;
}

TEST_F(RecordedGameTest, ACutRecordingReplaysUpToItsLastWholeFrame) {
    const std::string path = PathOf("whole.zrec");
    RecordShortGame(path);
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    const std::size_t headerLength = RecordingEncoder::Header(TestHeader()).size();
    std::string problem;
    EXPECT_FALSE(LoadedRecording::Parse({bytes.begin(), bytes.begin() + 5}, problem));
    EXPECT_EQ(problem, "is cut short within its header");

    std::uint64_t lastFrames = 0;
    const std::size_t body = bytes.size() - headerLength;
    for (std::size_t cut : {headerLength, headerLength + body / 5, headerLength + body / 2,
                            headerLength + body * 4 / 5, bytes.size() - 1}) {
        const std::string cutPath = PathOf("cut.zrec");
        WriteBytes(cutPath, {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)});
        const auto recording = LoadedRecording::Load(cutPath, problem);
        ASSERT_TRUE(recording) << cut << ": " << problem;
        EXPECT_FALSE(recording->Whole()) << cut;
        EXPECT_GE(recording->Frames(), lastFrames) << cut;
        lastFrames = recording->Frames();
        std::uint64_t matched = 0;
        const ReplayHost::Outcome outcome = Replay(*recording, matched);
        EXPECT_EQ(outcome.kind, Kind::CutShort) << cut << ": " << outcome.what;
        EXPECT_EQ(matched, recording->Frames()) << cut;
        EXPECT_EQ(outcome.what,
                  "the recording is cut short after frame " + std::to_string(recording->Frames()));
    }
    EXPECT_GT(lastFrames, 0u);
}

TEST_F(RecordedGameTest, TheNamedFileIsTouchedOnlyWhenTheRecordingEnds) {
    const std::string path = PathOf("named.zrec");
    WriteBytes(path, {'o', 'l', 'd'});
    std::string problem;
    {
        FakeHost machine;
        RecordingHost recorder(machine);
        ASSERT_TRUE(recorder.Start(path, TestHeader(), problem)) << problem;
        // The program is killed before the recording ends.
    }
    EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    std::vector<std::string> left;
    for (const auto& item : std::filesystem::directory_iterator(folder_)) {
        if (item.path() != path) left.push_back(item.path().string());
    }
    ASSERT_EQ(left.size(), 1u);
    const auto cut = LoadedRecording::Load(left.front(), problem);
    ASSERT_TRUE(cut) << problem;
    EXPECT_EQ(cut->Frames(), 0u);

    FakeHost machine;
    RecordingHost recorder(machine);
    ASSERT_TRUE(recorder.Start(path, TestHeader(), problem));
    ASSERT_TRUE(recorder.Finish(problem)) << problem;
    const auto named = LoadedRecording::Load(path, problem);
    ASSERT_TRUE(named) << problem;
    EXPECT_TRUE(named->Whole());

    EXPECT_FALSE(recorder.Start(PathOf("no/such/folder/x.zrec"), TestHeader(), problem));
    EXPECT_NE(problem.find("cannot make a file beside"), std::string::npos) << problem;
}

TEST(RunConditionsTest, AReplayPlaysWithTheRecordedOptions) {
    zelto::GameOptions options;
    options.noSound = true;
    options.muted = true;
    options.mouseSensitivity = 0.1f;
    zelto::RunConditions conditions = zelto::ConditionsOfRun(options, std::nullopt);
    zelto::GameOptions replayed;
    std::string problem;
    ASSERT_TRUE(zelto::RecordedOptions(conditions, replayed, problem));
    EXPECT_TRUE(replayed.noSound);
    EXPECT_TRUE(replayed.muted);
    EXPECT_EQ(replayed.mouseSensitivity, 0.1f);
    EXPECT_FALSE(zelto::RecordedScoresKept(conditions));

    for (const char* damage : {"", "11", "0.05"}) {
        zelto::RunConditions damaged = conditions;
        damaged["option.sensitivity"] = damage;
        EXPECT_FALSE(zelto::RecordedOptions(damaged, replayed, problem)) << damage;
        EXPECT_EQ(problem, "does not say the game's options");
    }
    conditions.erase("option.muted");
    EXPECT_FALSE(zelto::RecordedOptions(conditions, replayed, problem));
}

}  // namespace
