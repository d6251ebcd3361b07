// SPDX-License-Identifier: MIT
#include "game/spine/recorded_runs.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <system_error>

#include "game/kept_files/user_folders.h"
#include "game/spine/run_conditions.h"
#include "game/spine/zelto.h"
#include "platform/fake/fake_host.h"
#include "platform/host/window.h"
#include "platform/record/data_set_hash.h"
#include "platform/record/loaded_recording.h"
#include "platform/record/replay_host.h"
#include "platform/sdl/sdl_host.h"

namespace zelto {
namespace {

std::string CurrentFolder() {
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

// A folder of its own for the scores of a replayed game, holding the table the recorded run
// found; removed when the replay ends. The player's own table is never touched by a replay.
class ReplayScoresFolder {
public:
    explicit ReplayScoresFolder(const RunConditions& conditions) {
        if (!RecordedScoresKept(conditions)) {
            PointUserDataFolderAt(std::nullopt);
            return;
        }
        folder_ = MakeTemporaryFolder("zelto-replay-");
        if (folder_.empty()) return;
        PointUserDataFolderAt(folder_);
        const std::string table = RecordedScoreTable(conditions);
        if (table.empty()) return;
        std::error_code error;
        std::filesystem::create_directories(folder_ + "/zelto", error);
        std::ofstream(folder_ + "/zelto/scores", std::ios::binary) << table;
    }
    ~ReplayScoresFolder() {
        std::error_code error;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, error);
    }
    ReplayScoresFolder(const ReplayScoresFolder&) = delete;
    ReplayScoresFolder& operator=(const ReplayScoresFolder&) = delete;

private:
    std::string folder_;
};

const char* StateName(std::int32_t state) {
    switch (state) {
        case Intro:
            return "on the intro";
        case Playing:
            return "playing";
        case Dying:
            return "in a death sequence";
        case GameOver:
            return "on the Game Over screen";
        default:
            return "in an unknown state";
    }
}

// Plays the recording over the output host; the exit code, after its report.
int Replay(Game& game, platform::Host& output, const platform::LoadedRecording& recording,
           platform::ReplayHost::Pace pace, const std::string& file) {
    platform::ReplayHost replay(output, recording, pace);
    replay.DescribeStateWith([&game] { return DescribeGameState(game); });
    platform::SetHost(&replay);
    WinMain(game, nullptr, nullptr, "", platform::SW_SHOWNORMAL);
    replay.ProgramEnded();
    platform::SetHost(&output);
    using Kind = platform::ReplayHost::Outcome::Kind;
    const platform::ReplayHost::Outcome& outcome = replay.Result();
    switch (outcome.kind) {
        case Kind::Ended:
            std::printf("zelto: %s: all %llu frames replayed as recorded\n", file.c_str(),
                        static_cast<unsigned long long>(replay.FramesMatched()));
            return 0;
        case Kind::CutShort:
            std::printf("zelto: %s: %llu frames replayed as recorded; %s\n", file.c_str(),
                        static_cast<unsigned long long>(replay.FramesMatched()),
                        outcome.what.c_str());
            return 0;
        case Kind::Stopped:
            return 0;
        case Kind::Differed:
        case Kind::Replaying:
            break;
    }
    std::fprintf(stderr, "zelto: %s: frame %llu differs: %s\n", file.c_str(),
                 static_cast<unsigned long long>(outcome.frame), outcome.what.c_str());
    return 1;
}

}  // namespace

std::string DescribeGameState(const Game& game) {
    if (!game.Status) return "not playing (the game's objects are released)";
    std::string text = StateName(game.Status->State);
    if (game.Paused) text += ", paused";
    if (game.AppActive == 0) text += ", not in front";
    text += ", stage " + std::to_string(game.Status->Stage) + ", lives " +
            std::to_string(game.Status->Lives) + ", score " + std::to_string(game.Status->Score) +
            ", Energon " + std::to_string(game.EnergonLevel) + " of " +
            std::to_string(game.CriticalMass);
    return text;
}

platform::RecordingHeader HeaderOfRun(const GameOptions& options, const char* version) {
    platform::RecordingHeader header;
    header.programVersion = version;
    header.dataSetHash = platform::DataSetHash(CurrentFolder());
    header.conditions = ConditionsOfRun(options, UserDataFolder());
    return header;
}

std::unique_ptr<platform::RecordingHost> StartRecording(platform::Host& host,
                                                        const std::string& file,
                                                        const GameOptions& options,
                                                        const char* version) {
    auto recorder = std::make_unique<platform::RecordingHost>(host);
    std::string problem;
    if (!recorder->Start(file, HeaderOfRun(options, version), problem)) {
        std::fprintf(stderr, "zelto: cannot record the game: %s\n", problem.c_str());
        return nullptr;
    }
    return recorder;
}

bool FinishRecording(platform::RecordingHost& recorder, const std::string& file) {
    std::string problem;
    if (recorder.Finish(problem)) return true;
    std::fprintf(stderr, "zelto: the recording '%s' could not be kept: %s\n", file.c_str(),
                 problem.c_str());
    return false;
}

int ReplayRecordedGame(const CommandLine& line, const Settings& settings, const char* version) {
    const std::string& file = line.replayFile;
    std::string problem;
    const std::optional<platform::LoadedRecording> recording =
        platform::LoadedRecording::Load(file, problem);
    if (!recording) {
        std::fprintf(stderr, "zelto: %s\n", problem.c_str());
        return 1;
    }
    const platform::RecordingHeader& header = recording->Header();
    if (header.programVersion != version) {
        std::fprintf(stderr, "zelto: the recording '%s' was made by zelto %s, this is zelto %s\n",
                     file.c_str(), header.programVersion.c_str(), version);
        return 1;
    }
    if (header.dataSetHash != platform::DataSetHash(CurrentFolder())) {
        std::fprintf(stderr,
                     "zelto: the recording '%s' was made with another data set than the one in "
                     "'%s'\n",
                     file.c_str(), CurrentFolder().c_str());
        return 1;
    }
    Game game;
    if (!RecordedOptions(header.conditions, game.Options, problem)) {
        std::fprintf(stderr, "zelto: the recording '%s' %s\n", file.c_str(), problem.c_str());
        return 1;
    }
    const ReplayScoresFolder scores(header.conditions);
    using Pace = platform::ReplayHost::Pace;
    if (line.verify) {
        platform::FakeHost machine;
        machine.SetBlankLimit(std::numeric_limits<std::uint64_t>::max());
        machine.SetPicturesKept(0);
        return Replay(game, machine, *recording, Pace::Unpaced, file);
    }
    using platform::SdlHost;
    SdlHost window(
        settings.inWindow ? SdlHost::StartMode::kWindow : SdlHost::StartMode::kFullScreen,
        settings.integerScale ? SdlHost::Scaling::kWholeMultiples : SdlHost::Scaling::kFit,
        platform::POINT{settings.windowWidth, settings.windowHeight});
    if (!window.Ready()) {
        std::fprintf(stderr, "zelto: %s\n", window.StartError());
        return 1;
    }
    return Replay(game, window, *recording, Pace::AsRecorded, file);
}

}  // namespace zelto
