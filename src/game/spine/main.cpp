// SPDX-License-Identifier: MIT
// The process entry: reads the few options and the kept settings, moves into the folder that
// holds the data files, installs the SDL host and runs the game; then keeps what the run left.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "cdx/surface/cdxsurface.h"
#include "game/kept_files/user_folders.h"
#include "game/settings/setting_rows.h"
#include "game/settings/settings_file.h"
#include "game/spine/command_line.h"
#include "game/spine/data_folder.h"
#include "game/spine/recorded_runs.h"
#include "game/spine/zelto.h"
#include "game/world/game_options.h"
#include "platform/host/executable_folder.h"
#include "platform/host/window.h"
#include "platform/sdl/sdl_host.h"

namespace {

// Changes into the folder the data files are read from; false (with a message) when a folder
// named on the command line cannot be entered. A data set found nowhere is left to start-up,
// which names each file it misses.
bool EnterDataFolder(const zelto::CommandLine& line) {
    std::error_code error;
    if (!line.dataFolder.empty()) {
        std::filesystem::current_path(line.dataFolder, error);
        if (error) {
            std::fprintf(stderr, "zelto: cannot use the data folder '%s': %s\n",
                         zelto::ShownValue(line.dataFolder).c_str(), error.message().c_str());
            return false;
        }
        return true;
    }
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (error) return true;
    // The GNU layout of `cmake --install` first, then the games folders of the Debian package.
    const std::filesystem::path found = zelto::FindDataFolder(
        current, zelto::DataFolderCandidates(
                     platform::ExecutableFolder(),
                     {ZELTO_DATA_FROM_EXECUTABLE, ZELTO_GAMES_DATA_FROM_EXECUTABLE},
                     {ZELTO_INSTALLED_DATA_FOLDER, ZELTO_INSTALLED_GAMES_DATA_FOLDER}));
    if (found != current) std::filesystem::current_path(found, error);
    return true;
}

// The paths the command line names, taken from the folder the program was started in: made
// absolute before the program moves into its data folder. Where the start folder cannot be
// told (it was removed), they stay as given.
void MakePathsAbsolute(zelto::CommandLine& line) {
    for (std::string* path : {&line.dataFolder, &line.recordFile, &line.replayFile}) {
        if (path->empty()) continue;
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(*path, error);
        if (!error) *path = absolute.string();
    }
}

// Writes text to the standard output and closes it; false, after a line on the error stream,
// when it could not all be written (a full disk, a closed pipe): the caller then ends with 1,
// so that a script sees that the answer it asked for is not there.
bool PrintAnswer(const std::string& text) {
    const bool written = std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
    const int writeError = errno;
    if (std::fclose(stdout) == 0 && written) return true;
    std::fprintf(stderr, "zelto: cannot write to the standard output: %s\n",
                 std::strerror(written ? errno : writeError));
    return false;
}

// The settings file in the user's configuration folder; none where the environment names none
// (the defaults then hold, and nothing is kept).
std::unique_ptr<zelto::SettingsFile> OpenSettings() {
    const std::optional<std::string> folder = zelto::UserConfigFolder();
    if (!folder) return nullptr;
    return std::make_unique<zelto::SettingsFile>(*folder);
}

// The whole run, from the command line to what it keeps; the exit code.
int Run(int argc, char** argv) {
    using zelto::CommandLine;
    CommandLine line = CommandLine::Parse(argc, argv);
    switch (line.action) {
        case CommandLine::Action::kShowHelp:
            return PrintAnswer(CommandLine::Usage()) ? 0 : 1;
        case CommandLine::Action::kShowVersion:
            return PrintAnswer(std::string("zelto ") + ZELTO_VERSION + "\n") ? 0 : 1;
        case CommandLine::Action::kRefuse:
            std::fprintf(stderr, "zelto: %s\n%s", line.refusal.c_str(),
                         CommandLine::Usage().c_str());
            return 2;
        case CommandLine::Action::kRun:
            break;
    }
    // Fontconfig's first start reads the system's whole font configuration: begun now, it runs
    // beside SDL's own start and the game's loading, and the first text waits only for what is
    // left of it.
    cdx::CDXSurface::StartTextEarly();
    MakePathsAbsolute(line);
    if (!EnterDataFolder(line)) return 2;

    const std::unique_ptr<zelto::SettingsFile> settingsFile = OpenSettings();
    const zelto::Settings kept = settingsFile ? settingsFile->Load() : zelto::Settings{};
    // The settings for this run: the kept ones, with what the command line says instead.
    const zelto::Settings run = zelto::WithChoices(kept, line);
    // A replay keeps nothing: its options are the recorded ones, its scores its own.
    if (!line.replayFile.empty()) return zelto::ReplayRecordedGame(line, run, ZELTO_VERSION);

    using platform::SdlHost;
    std::optional<platform::POINT> windowPosition;
    if (run.windowPosition) {
        windowPosition = platform::POINT{run.windowPosition->x, run.windowPosition->y};
    }
    SdlHost host(run.inWindow ? SdlHost::StartMode::kWindow : SdlHost::StartMode::kFullScreen,
                 run.integerScale ? SdlHost::Scaling::kWholeMultiples : SdlHost::Scaling::kFit,
                 platform::POINT{run.windowWidth, run.windowHeight}, windowPosition);
    if (!host.Ready()) {
        std::fprintf(stderr, "zelto: %s\n", host.StartError());
        return 1;
    }
    platform::SetHost(&host);
    // The game's whole state, for the run and for what it leaves to keep.
    zelto::Game game;
    game.Options.noSound = line.noSound;
    game.Options.muted = run.muted;
    game.Options.mouseSensitivity = run.sensitivity;
#ifdef __EMSCRIPTEN__
    if (settingsFile && !line.noSound) {
        game.Options.keepMute = [&settingsFile](bool muted) {
            zelto::Settings settings = settingsFile->Load();
            settings.muted = muted;
            settingsFile->Save(settings);
        };
    }
#endif
    std::unique_ptr<platform::RecordingHost> recorder;
    if (!line.recordFile.empty()) {
        recorder = zelto::StartRecording(host, line.recordFile, game.Options, ZELTO_VERSION);
        if (!recorder) return 1;
        platform::SetHost(recorder.get());
    }
    const int exitCode = zelto::WinMain(game, nullptr, nullptr, "", platform::SW_SHOWNORMAL);
    if (recorder) zelto::FinishRecording(*recorder, line.recordFile);

    // The next run starts as this one ended: in its window mode, size and place, muted or not.
    // An option given for this run alone (the sensitivity, integer scaling, --nosound) changes
    // nothing kept.
    if (settingsFile) {
        zelto::Settings left = kept;
        left.inWindow = host.InWindow();
        const platform::POINT size = host.WindowSize();
        left.windowWidth = size.x;
        left.windowHeight = size.y;
        if (const std::optional<platform::POINT> place = host.WindowPosition()) {
            left.windowPosition = zelto::WindowPosition{place->x, place->y};
        }
        if (!line.noSound) left.muted = game.Options.muted;
        settingsFile->Save(left);
    }
    return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    const int exitCode = Run(argc, argv);
#ifdef __EMSCRIPTEN__
    // In a page the program's stack was put aside at every wait for the browser, and a return
    // from main after that reaches no one: exit() ends the program and tells the page its code.
    std::exit(exitCode);
#else
    return exitCode;
#endif
}
