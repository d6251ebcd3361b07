// SPDX-License-Identifier: MIT
#include "game/spine/command_line.h"

#include <string_view>

#include "game/settings/settings.h"

namespace zelto {

namespace {

constexpr std::string_view kDataOption = "--data";
constexpr std::string_view kSensitivityOption = "--sensitivity";
constexpr std::string_view kRecordOption = "--record";
constexpr std::string_view kReplayOption = "--replay";

// The option's value: the argument after `=`, or the next one (moving i past it); false when
// there is none.
bool OptionValue(std::string_view option, int argc, const char* const argv[], int& i,
                 std::string_view& value) {
    const std::string_view argument = argv[i];
    if (argument.size() > option.size()) {
        value = argument.substr(option.size() + 1);
        return true;
    }
    if (i + 1 >= argc || argv[i + 1] == nullptr) return false;
    value = argv[++i];
    return true;
}

// Past this many bytes a value from the command line is cut in a refusal: an argument can be
// as long as the system lets it be, and echoed whole it would bury the message.
constexpr std::size_t kLongestShownValue = 256;

CommandLine Refused(std::string why) {
    CommandLine refused;
    refused.action = CommandLine::Action::kRefuse;
    refused.refusal = std::move(why);
    return refused;
}

}  // namespace

CommandLine CommandLine::Parse(int argc, const char* const argv[]) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i] != nullptr ? argv[i] : "";
        if (argument == "--help" || argument == "-h") {
            line.action = Action::kShowHelp;
            return line;
        }
        if (argument == "--version" || argument == "-v" || argument == "-V") {
            line.action = Action::kShowVersion;
            return line;
        }
        if (argument == "--window" || argument == "--fullscreen") {
            line.startInWindow = argument == "--window";
            continue;
        }
        if (argument == "--integer-scale") {
            line.integerScale = true;
            continue;
        }
        if (argument == "--nosound") {
            line.noSound = true;
            continue;
        }
        if (argument == kSensitivityOption || argument.starts_with("--sensitivity=")) {
            std::string_view value;
            float sensitivity = 1.0f;
            if (!OptionValue(kSensitivityOption, argc, argv, i, value) ||
                !Settings::ReadSensitivity(value, sensitivity)) {
                return Refused("option '--sensitivity' needs a number from 0.1 to 10");
            }
            line.sensitivity = sensitivity;
            continue;
        }
        if (argument == kDataOption || argument.starts_with("--data=")) {
            std::string_view folder;
            if (argument == kDataOption) {
                if (i + 1 >= argc || argv[i + 1] == nullptr) {
                    return Refused("option '--data' needs a folder");
                }
                folder = argv[++i];
            } else {
                folder = argument.substr(kDataOption.size() + 1);
            }
            if (folder.empty()) return Refused("option '--data' needs a folder");
            line.dataFolder = folder;
            continue;
        }
        if (argument == kRecordOption || argument.starts_with("--record=") ||
            argument == kReplayOption || argument.starts_with("--replay=")) {
            const bool record = argument.starts_with(kRecordOption);
            const std::string_view option = record ? kRecordOption : kReplayOption;
            std::string_view file;
            if (!OptionValue(option, argc, argv, i, file) || file.empty()) {
                return Refused("option '" + std::string(option) + "' needs a file");
            }
            (record ? line.recordFile : line.replayFile) = file;
            continue;
        }
        if (argument == "--verify") {
            line.verify = true;
            continue;
        }
        if (argument.starts_with("-")) {
            return Refused("unknown option '" + ShownValue(argument) + "'");
        }
        return Refused("unexpected argument '" + ShownValue(argument) + "'");
    }
    if (!line.recordFile.empty() && !line.replayFile.empty()) {
        return Refused("options '--record' and '--replay' do not go together");
    }
    if (line.verify && line.replayFile.empty()) {
        return Refused("option '--verify' needs '--replay FILE'");
    }
    return line;
}

std::string ShownValue(std::string_view value) {
    if (value.size() <= kLongestShownValue) return std::string(value);
    // Cut at the start of a character: no UTF-8 sequence is left broken at the cut.
    std::size_t cut = kLongestShownValue;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
    return std::string(value.substr(0, cut)) + "...";
}

const char* CommandLine::Usage() {
    return "usage: zelto [--window | --fullscreen] [--integer-scale] [--nosound]\n"
           "             [--sensitivity N] [--data DIR] [--record FILE]\n"
           "       zelto --replay FILE [--verify] [--data DIR]\n"
           "       zelto --help | --version\n"
           "\n"
           "A 2D arcade game: steer with the mouse, click to start, Space to go on,\n"
           "P to pause, M to mute, Escape to quit, Alt+Enter to switch between full\n"
           "screen and a window.\n"
           "\n"
           "  --window         start in a window instead of full screen\n"
           "  --fullscreen     start full screen (the default; the last of the two wins)\n"
           "  --integer-scale  scale the picture by whole multiples only, black around it\n"
           "  --nosound        play silently, without opening a sound device\n"
           "  --sensitivity N  scale the mouse's steering by N (0.1 to 10, default 1)\n"
           "  --data DIR       read the game's data files from DIR\n"
           "  --record FILE    play and record the game into FILE\n"
           "  --replay FILE    show the recorded game FILE at its pace (Escape ends it)\n"
           "  --verify         with --replay: replay without a display, as fast as it\n"
           "                   runs, and compare every picture and sound with the\n"
           "                   recording; exit code 0 when all match, 1 otherwise\n"
           "  --help           show this help and end (-h too)\n"
           "  --version        show the version and end (-v and -V too)\n"
           "\n"
           "The window's mode and size and whether the sound is muted are kept in\n"
           "$XDG_CONFIG_HOME/zelto/settings (~/.config/zelto/settings) when the game\n"
           "ends, with the sensitivity and integer scaling that file sets; the options\n"
           "above win over it for one run. The ten best scores are kept in\n"
           "$XDG_DATA_HOME/zelto/scores (~/.local/share/zelto/scores).\n";
}

}  // namespace zelto
