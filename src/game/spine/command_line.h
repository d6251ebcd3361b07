#pragma once

// The program's few options, read before start-up. The game itself reads no command line: these
// only choose how the window starts and where the data files are.

#include <string>

namespace zelto {

struct CommandLine {
    enum class Action {
        kRun,          // start the game
        kShowHelp,     // print the usage to the standard output and end with 0
        kShowVersion,  // print the version and end with 0
        kRefuse,       // print the refusal and the usage to the error stream and end with 2
    };

    Action action = Action::kRun;
    bool startInWindow = false;  // a 640 x 480 window instead of full screen
    bool integerScale = false;   // the picture at whole multiples of its size only
    bool noSound = false;        // start muted, without opening a sound device
    float sensitivity = 1.0f;    // the mouse factor, from kLeastSensitivity to kMostSensitivity
    std::string dataFolder;      // where the data files are; empty: found as usual
    std::string refusal;         // what was wrong with the command line

    static constexpr float kLeastSensitivity = 0.1f;
    static constexpr float kMostSensitivity = 10.0f;

    // Reads the options left to right; --help and --version answer at once, as soon as they
    // are seen, and the first thing not understood refuses the whole line.
    static CommandLine Parse(int argc, const char* const argv[]);

    // The usage text, ending in a newline.
    static const char* Usage();
};

}  // namespace zelto
