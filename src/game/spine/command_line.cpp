// SPDX-License-Identifier: MIT
#include "game/spine/command_line.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "game/settings/setting_rows.h"

namespace zelto {

namespace {

constexpr std::string_view kDataOption = "--data";
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

// Whether the argument is an option that chooses a kept setting: then the line holds its choice
// (i moved past a value given apart), or is refused.
bool ReadSettingOption(std::string_view argument, int argc, const char* const argv[], int& i,
                       CommandLine& line) {
    for (const SettingRow& row : SettingRows()) {
        for (const SettingOption& option : row.options) {
            if (option.name.empty() || !argument.starts_with(option.name)) continue;
            if (option.valueName.empty()) {
                if (argument.size() != option.name.size()) continue;
                row.choose(line, SettingValue{.yes = option.flagValue});
                return true;
            }
            if (argument.size() != option.name.size() && argument[option.name.size()] != '=') {
                continue;
            }
            std::string_view text;
            const std::optional<SettingValue> value = OptionValue(option.name, argc, argv, i, text)
                                                          ? ReadSettingValue(row, text)
                                                          : std::nullopt;
            if (!value) {
                line = Refused("option '" + std::string(option.name) + "' needs " +
                               SettingValueWanted(row));
            } else {
                row.choose(line, *value);
            }
            return true;
        }
    }
    return false;
}

// The program's own options, which choose no kept setting, as the usage lists them after the
// kept settings' ones; the parser reads each in its own way.
struct ProgramOption {
    std::string_view name;
    std::string_view valueName;  // empty: a flag
    std::string_view help;       // lines after the first start under the first
};

constexpr ProgramOption kProgramOptions[] = {
    {"--nosound", "", "play silently, without opening a sound device"},
    {"--data", "DIR", "read the game's data files from DIR"},
    {"--record", "FILE", "play and record the game into FILE"},
    {"--replay", "FILE", "show the recorded game FILE at its pace (Escape ends it)"},
    {"--verify", "",
     "with --replay: replay without a display, as fast as it\n"
     "runs, and compare every picture and sound with the\n"
     "recording; exit code 0 when all match, 1 otherwise"},
    {"--help", "", "show this help and end (-h too)"},
    {"--version", "", "show the version and end (-v and -V too)"},
};

// An option as the usage names it: "--sensitivity N".
std::string Spelled(std::string_view name, std::string_view valueName) {
    return std::string(name) + (valueName.empty() ? "" : " ") + std::string(valueName);
}

// The usage's list lines: the option, then its help from the same column on every line.
std::string OptionLines(std::string_view spelled, std::string_view help) {
    constexpr std::size_t kHelpColumn = 19;
    std::string lines = "  " + std::string(spelled);
    lines.resize(std::max(lines.size() + 2, kHelpColumn), ' ');
    for (const char character : help) {
        lines += character;
        if (character == '\n') lines += std::string(kHelpColumn, ' ');
    }
    return lines + "\n";
}

// The synopsis of a game's command line, wrapped before the terminal's last column: the kept
// settings' options, each row's as one choice, then the program's own that a game takes.
std::string GameSynopsis() {
    constexpr std::string_view kCommand = "usage: zelto";
    constexpr std::size_t kWidestLine = 79;
    std::vector<std::string> choices;
    for (const SettingRow& row : SettingRows()) {
        std::string choice;
        for (const SettingOption& option : row.options) {
            if (option.name.empty()) continue;
            choice += (choice.empty() ? "[" : " | ") + Spelled(option.name, option.valueName);
        }
        if (!choice.empty()) choices.push_back(choice + "]");
    }
    for (const char* choice : {"[--nosound]", "[--data DIR]", "[--record FILE]"}) {
        choices.emplace_back(choice);
    }
    std::string synopsis(kCommand);
    std::size_t lineStart = 0;
    for (const std::string& choice : choices) {
        if (synopsis.size() - lineStart + 1 + choice.size() > kWidestLine) {
            synopsis += "\n";
            lineStart = synopsis.size();
            synopsis += std::string(kCommand.size(), ' ');
        }
        synopsis += " " + choice;
    }
    return synopsis;
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
        if (ReadSettingOption(argument, argc, argv, i, line)) {
            if (line.action == Action::kRefuse) return line;
            continue;
        }
        if (argument == "--nosound") {
            line.noSound = true;
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

std::string CommandLine::Usage() {
    std::string usage = GameSynopsis();
    usage +=
        "\n"
        "       zelto --replay FILE [--verify] [--data DIR]\n"
        "       zelto --help | --version\n"
        "\n"
        "A 2D arcade game: steer with the mouse, click to start, Space to go on,\n"
        "P to pause, M to mute, Escape to quit, Alt+Enter to switch between full\n"
        "screen and a window.\n"
        "\n";
    for (const SettingRow& row : SettingRows()) {
        for (const SettingOption& option : row.options) {
            if (option.name.empty()) continue;
            usage +=
                OptionLines(Spelled(option.name, option.valueName), SettingOptionHelp(row, option));
        }
    }
    for (const ProgramOption& option : kProgramOptions) {
        usage += OptionLines(Spelled(option.name, option.valueName), option.help);
    }
    return usage +
           "\n"
           "The window's mode and size and whether the sound is muted are kept in\n"
           "$XDG_CONFIG_HOME/zelto/settings (~/.config/zelto/settings) when the game\n"
           "ends, with the sensitivity and integer scaling that file sets; the options\n"
           "above win over it for one run. The ten best scores are kept in\n"
           "$XDG_DATA_HOME/zelto/scores (~/.local/share/zelto/scores).\n";
}

}  // namespace zelto
