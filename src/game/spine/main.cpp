// The process entry: reads the few options, moves into the folder that holds the data files,
// installs the SDL host and runs the game.

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "command_line.h"
#include "data_folder.h"
#include "sdl_host.h"
#include "text_service.h"
#include "window.h"
#include "zelto.h"

namespace {

// The executable's folder, empty where the system does not say.
std::filesystem::path ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return executable.parent_path();
}

// Changes into the folder the data files are read from; false (with a message) when a folder
// named on the command line cannot be entered. A data set found nowhere is left to start-up,
// which names each file it misses.
bool EnterDataFolder(const zelto::CommandLine& line) {
    std::error_code error;
    if (!line.dataFolder.empty()) {
        std::filesystem::current_path(line.dataFolder, error);
        if (error) {
            std::fprintf(stderr, "zelto: cannot use the data folder '%s': %s\n",
                         line.dataFolder.c_str(), error.message().c_str());
            return false;
        }
        return true;
    }
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (error) return true;
    const std::filesystem::path found = zelto::FindDataFolder(
        current, zelto::DataFolderCandidates(ExecutableFolder(), ZELTO_DATA_FROM_EXECUTABLE,
                                             ZELTO_INSTALLED_DATA_FOLDER));
    if (found != current) std::filesystem::current_path(found, error);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using zelto::CommandLine;
    const CommandLine line = CommandLine::Parse(argc, argv);
    switch (line.action) {
        case CommandLine::Action::kShowHelp:
            std::fputs(CommandLine::Usage(), stdout);
            return 0;
        case CommandLine::Action::kShowVersion:
            std::printf("zelto %s\n", ZELTO_VERSION);
            return 0;
        case CommandLine::Action::kRefuse:
            std::fprintf(stderr, "zelto: %s\n%s", line.refusal.c_str(), CommandLine::Usage());
            return 2;
        case CommandLine::Action::kRun:
            break;
    }
    // Fontconfig's first start reads the system's whole font configuration: begun now, it runs
    // beside SDL's own start and the game's loading, and the first text waits only for what is
    // left of it.
    platform::StartTextServiceEarly();
    if (!EnterDataFolder(line)) return 2;

    using platform::SdlHost;
    SdlHost host(line.startInWindow ? SdlHost::StartMode::kWindow : SdlHost::StartMode::kFullScreen,
                 line.integerScale ? SdlHost::Scaling::kWholeMultiples : SdlHost::Scaling::kFit);
    if (!host.Ready()) {
        std::fprintf(stderr, "zelto: %s\n", host.StartError());
        return 1;
    }
    platform::SetHost(&host);
    zelto::Options.startMuted = line.noSound;
    zelto::Options.mouseSensitivity = line.sensitivity;
    return zelto::WinMain(nullptr, nullptr, "", platform::SW_SHOWNORMAL);
}
