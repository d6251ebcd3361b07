// SPDX-License-Identifier: MIT
#pragma once

// The program's few options, read before start-up. The game itself reads no command line: these
// only choose how the window starts, how it sounds and steers, and where the data files are.
// The options that choose a kept setting for the run are its row's (see setting_rows.h); one
// left out leaves the kept settings' choice in force.

#include <string>
#include <string_view>

#include "game/settings/settings.h"

namespace zelto {

// Its base holds the kept settings the options choose for the run.
struct CommandLine : SettingChoices {
    enum class Action {
        kRun,  // start the game
        // Print the usage, or the version, to the standard output and end with 0; with 1, after
        // a line on the error stream, when the output cannot be written.
        kShowHelp,
        kShowVersion,
        kRefuse,  // print the refusal and the usage to the error stream and end with 2
    };

    Action action = Action::kRun;
    bool noSound = false;    // play silently, without opening a sound device
    std::string dataFolder;  // where the data files are; empty: found as usual
    std::string recordFile;  // play and record the game into this file
    std::string replayFile;  // play this recording back instead of a game
    bool verify = false;     // check the replay without a display, as fast as it runs
    std::string refusal;     // what was wrong with the command line

    // Reads the options left to right; --help and --version answer at once, as soon as they
    // are seen, and the first thing not understood refuses the whole line.
    static CommandLine Parse(int argc, const char* const argv[]);

    // The usage text, ending in a newline; its option list is made from the kept settings'
    // options and the program's own.
    static std::string Usage();
};

// A value from the command line as a refusal shows it: whole up to 256 bytes, else its first
// 256 bytes (less, not to split a character) and "...".
std::string ShownValue(std::string_view value);

}  // namespace zelto
