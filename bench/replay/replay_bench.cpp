// SPDX-License-Identifier: MIT
// zelto --replay FILE --verify on a 10-minute game: the frames per second a recording is checked
// at on the fake host, beside the same game played on the fake host without a recording, and
// the recording's size. The game is recorded once, at start: a player clicks through the intro
// and every Game Over, presses Space on every instruction screen and changes course every
// second and a half, for 36,000 blanks.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "cdx/input/key_codes.h"
#include "game/spine/zelto.h"
#include "game_data_folder.h"
#include "platform/fake/fake_host.h"
#include "platform/record/loaded_recording.h"
#include "platform/record/recording_host.h"
#include "platform/record/replay_host.h"

namespace {

using platform::FakeHost;

constexpr std::uint64_t kGameBlanks = 10 * 60 * 60;
constexpr std::uint64_t kCourseBlanks = 90;

std::string recordingPath;
std::uint64_t recordedFrames = 0;
std::filesystem::path scoresFolder;

// Every game starts with no kept scores, as the replay of a recording that found none does.
void ForgetScores() {
    std::filesystem::remove_all(scoresFolder);
}

// The player: the intro's click and Game Over's, Space on every instruction screen, a new course
// every kCourseBlanks, and the close request at the end of the ten minutes.
void Play(FakeHost& host, const zelto::Game& game) {
    host.AtEveryBlank([&game](FakeHost& h) {
        if (h.Blank() == kGameBlanks) h.QueueEvent(platform::HostEvent::Kind::CloseRequested);
        if (!game.Status) return;
        const bool clickable =
            game.Status->State == zelto::Intro || game.Status->State == zelto::GameOver;
        h.SetMouseButton(0, clickable && h.Blank() % 60 < 6);
        h.SetKey(platform::kScanSpace, game.Status->State == zelto::Playing && h.Blank() % 60 < 6);
        if (h.Blank() % kCourseBlanks == 0) {
            const int turn = static_cast<int>(h.Blank() / kCourseBlanks % 4);
            h.MoveMouse(turn < 2 ? 2 : -2, turn % 2 == 0 ? 1 : -1);
        }
    });
}

// Plays the game on a fresh fake host, through a recording host when path is given.
std::uint64_t PlayGame(const std::string* path) {
    ForgetScores();
    FakeHost machine;
    machine.SetPicturesKept(0);
    zelto::Game game;
    Play(machine, game);
    std::optional<platform::RecordingHost> recorder;
    if (path != nullptr) {
        recorder.emplace(machine);
        std::string problem;
        platform::RecordingHeader header;
        header.programVersion = "bench";
        if (!recorder->Start(*path, header, problem)) std::fprintf(stderr, "%s\n", problem.c_str());
        platform::SetHost(&*recorder);
    } else {
        platform::SetHost(&machine);
    }
    zelto::WinMain(game, nullptr, nullptr, "", platform::SW_SHOWNORMAL);
    std::string problem;
    if (recorder && !recorder->Finish(problem)) std::fprintf(stderr, "%s\n", problem.c_str());
    platform::SetHost(&machine);
    return machine.PictureCount();
}

void BM_PlayedGame(benchmark::State& state) {
    std::uint64_t frames = 0;
    for (auto _ : state) frames += PlayGame(nullptr);
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlayedGame)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReplayVerify(benchmark::State& state) {
    std::uint64_t frames = 0;
    for (auto _ : state) {
        std::string problem;
        const auto recording = platform::LoadedRecording::Load(recordingPath, problem);
        if (!recording) {
            state.SkipWithError(problem.c_str());
            return;
        }
        ForgetScores();
        FakeHost machine;
        machine.SetPicturesKept(0);
        platform::ReplayHost replay(machine, *recording, platform::ReplayHost::Pace::Unpaced);
        platform::SetHost(&replay);
        zelto::Game game;
        zelto::WinMain(game, nullptr, nullptr, "", platform::SW_SHOWNORMAL);
        replay.ProgramEnded();
        platform::SetHost(&machine);
        if (replay.Result().kind != platform::ReplayHost::Outcome::Kind::Ended) {
            state.SkipWithError(replay.Result().what.c_str());
            return;
        }
        frames += replay.FramesMatched();
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["frames"] = static_cast<double>(recordedFrames);
    state.counters["KiB"] = static_cast<double>(std::filesystem::file_size(recordingPath)) / 1024;
}
BENCHMARK(BM_ReplayVerify)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!bench::EnterGameDataFolder("replay_bench")) return 1;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path();
    const std::string name = "zelto-replay-bench-" + std::to_string(::getpid());
    recordingPath = (temporary / (name + ".zrec")).string();
    scoresFolder = temporary / name;
    setenv("XDG_DATA_HOME", scoresFolder.c_str(), 1);
    recordedFrames = PlayGame(&recordingPath);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(recordingPath);
    ForgetScores();
    return 0;
}
