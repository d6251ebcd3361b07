// SPDX-License-Identifier: MIT
#include "game/spine/command_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "game/settings/setting_rows.h"

namespace {

using namespace zelto;

CommandLine ParseArguments(std::initializer_list<const char*> arguments) {
    std::vector<const char*> argv{"zelto"};
    argv.insert(argv.end(), arguments);
    return CommandLine::Parse(static_cast<int>(argv.size()), argv.data());
}

// The long options and the settings keys the manual page describes: the headings of its
// OPTIONS section, and those of the list of keys in its FILES section, with roff's \- read
// as a dash.
struct ManualPage {
    std::set<std::string> options;
    std::set<std::string> keys;
};

ManualPage ReadManualPage(const char* path) {
    std::ifstream in(path);
    std::string line;
    std::string section;
    bool inKeyList = false;
    bool heading = false;
    ManualPage page;
    while (std::getline(in, line)) {
        for (std::size_t at = line.find("\\-"); at != std::string::npos;
             at = line.find("\\-", at)) {
            line.erase(at, 1);
        }
        if (line.starts_with(".SH ")) section = line.substr(4);
        if (line == ".RS") inKeyList = section == "FILES";
        if (line == ".RE") inKeyList = false;
        const bool wasHeading = heading;
        heading = line == ".TP";
        if (!wasHeading) continue;
        std::istringstream words(line);
        std::string word;
        words >> word;  // the font macro
        if (section == "OPTIONS") {
            while (words >> word) {
                if (word.starts_with("--")) page.options.insert(word);
            }
        } else if (inKeyList && words >> word) {
            page.keys.insert(word);
        }
    }
    return page;
}

// What one list has and the other lacks, for a failure to name.
std::string Lacking(const std::set<std::string>& has, const std::set<std::string>& lacks) {
    std::string names;
    for (const std::string& name : has) {
        if (!lacks.contains(name)) names += " " + name;
    }
    return names;
}

}  // namespace

TEST(CommandLineTest, NoOptionsLeaveEveryChoiceToTheSettingsWithTheDataFoundAsUsual) {
    const CommandLine line = ParseArguments({});
    EXPECT_EQ(line.action, CommandLine::Action::kRun);
    EXPECT_FALSE(line.startInWindow.has_value());
    EXPECT_FALSE(line.integerScale.has_value());
    EXPECT_FALSE(line.noSound);
    EXPECT_FALSE(line.sensitivity.has_value());
    EXPECT_TRUE(line.dataFolder.empty());
}

TEST(CommandLineTest, SoundAndSensitivity) {
    EXPECT_TRUE(ParseArguments({"--nosound"}).noSound);
    EXPECT_EQ(ParseArguments({"--sensitivity", "2"}).sensitivity, 2.0f);
    EXPECT_EQ(ParseArguments({"--sensitivity=0.5", "--nosound"}).sensitivity, 0.5f);
    EXPECT_EQ(ParseArguments({"--sensitivity=0.1"}).sensitivity, 0.1f);
    EXPECT_EQ(ParseArguments({"--sensitivity", "10"}).sensitivity, 10.0f);
}

TEST(CommandLineTest, WindowAndDataFolderInEitherOrderAndSpelling) {
    for (const CommandLine& line : {ParseArguments({"--window", "--data", "/opt/z"}),
                                    ParseArguments({"--data=/opt/z", "--window"})}) {
        EXPECT_EQ(line.action, CommandLine::Action::kRun);
        EXPECT_EQ(line.startInWindow, true);
        EXPECT_EQ(line.dataFolder, "/opt/z");
    }
    // A later --data overrides an earlier one; a folder may start with a dash.
    EXPECT_EQ(ParseArguments({"--data", "a", "--data", "-b"}).dataFolder, "-b");
    // Of --window and --fullscreen the last one wins; --integer-scale leaves the mode alone.
    EXPECT_EQ(ParseArguments({"--window", "--fullscreen"}).startInWindow, false);
    EXPECT_EQ(ParseArguments({"--fullscreen", "--window"}).startInWindow, true);
    const CommandLine scaled = ParseArguments({"--window", "--integer-scale"});
    EXPECT_EQ(scaled.startInWindow, true);
    EXPECT_EQ(scaled.integerScale, true);
    EXPECT_FALSE(ParseArguments({"--integer-scale"}).startInWindow.has_value());
}

TEST(CommandLineTest, RecordAndReplayInEitherSpelling) {
    EXPECT_EQ(ParseArguments({"--record", "game.zrec", "--window"}).recordFile, "game.zrec");
    EXPECT_EQ(ParseArguments({"--record=-g"}).recordFile, "-g");
    for (const CommandLine& line : {ParseArguments({"--replay", "g", "--verify"}),
                                    ParseArguments({"--verify", "--replay=g"})}) {
        EXPECT_EQ(line.action, CommandLine::Action::kRun);
        EXPECT_EQ(line.replayFile, "g");
        EXPECT_TRUE(line.verify);
        EXPECT_TRUE(line.recordFile.empty());
    }
}

TEST(CommandLineTest, HelpAndVersionAnswerAsSoonAsTheyAreSeen) {
    EXPECT_EQ(ParseArguments({"--help"}).action, CommandLine::Action::kShowHelp);
    EXPECT_EQ(ParseArguments({"-h"}).action, CommandLine::Action::kShowHelp);
    EXPECT_EQ(ParseArguments({"--window", "--version"}).action, CommandLine::Action::kShowVersion);
    EXPECT_EQ(ParseArguments({"-v"}).action, CommandLine::Action::kShowVersion);
    EXPECT_EQ(ParseArguments({"-V", "--help"}).action, CommandLine::Action::kShowVersion);
    EXPECT_EQ(ParseArguments({"--version", "--help"}).action, CommandLine::Action::kShowVersion);
    // Read left to right: what comes before is judged first.
    EXPECT_EQ(ParseArguments({"--bogus", "--help"}).action, CommandLine::Action::kRefuse);
    EXPECT_EQ(ParseArguments({"--help", "--bogus"}).action, CommandLine::Action::kShowHelp);
}

TEST(CommandLineTest, RefusesWhatItDoesNotUnderstandAndSaysWhat) {
    struct Case {
        std::initializer_list<const char*> arguments;
        const char* refusal;
    };
    const Case cases[] = {
        {{"--full-screen"}, "unknown option '--full-screen'"},
        {{"--integer-scale=2"}, "unknown option '--integer-scale=2'"},
        {{"-w"}, "unknown option '-w'"},
        {{"--windowed"}, "unknown option '--windowed'"},
        {{"--"}, "unknown option '--'"},
        {{"ZELTO.FMP"}, "unexpected argument 'ZELTO.FMP'"},
        {{""}, "unexpected argument ''"},
        {{"--data"}, "option '--data' needs a folder"},
        {{"--window", "--data"}, "option '--data' needs a folder"},
        {{"--data", ""}, "option '--data' needs a folder"},
        {{"--data="}, "option '--data' needs a folder"},
        {{"--nosound=1"}, "unknown option '--nosound=1'"},
        {{"--sensitivity"}, "option '--sensitivity' needs a number from 0.1 to 10"},
        {{"--sensitivity="}, "option '--sensitivity' needs a number from 0.1 to 10"},
        {{"--sensitivity", "fast"}, "option '--sensitivity' needs a number from 0.1 to 10"},
        {{"--sensitivity", "2x"}, "option '--sensitivity' needs a number from 0.1 to 10"},
        {{"--sensitivity", "0"}, "option '--sensitivity' needs a number from 0.1 to 10"},
        {{"--sensitivity=10.5"}, "option '--sensitivity' needs a number from 0.1 to 10"},
        {{"--sensitivity", "-1"}, "option '--sensitivity' needs a number from 0.1 to 10"},
        {{"--sensitivity", "nan"}, "option '--sensitivity' needs a number from 0.1 to 10"},
        {{"--record"}, "option '--record' needs a file"},
        {{"--replay="}, "option '--replay' needs a file"},
        {{"--verify"}, "option '--verify' needs '--replay FILE'"},
        {{"--record", "a", "--verify"}, "option '--verify' needs '--replay FILE'"},
        {{"--record=a", "--replay", "b"}, "options '--record' and '--replay' do not go together"},
        {{"--replays", "b"}, "unknown option '--replays'"},
    };
    for (const Case& test : cases) {
        const CommandLine line = ParseArguments(test.arguments);
        EXPECT_EQ(line.action, CommandLine::Action::kRefuse) << test.refusal;
        EXPECT_EQ(line.refusal, test.refusal);
    }
}

// An argument of any length is refused without burying the message: past 256 bytes it is cut,
// at the start of a character, and "..." says so.
TEST(CommandLineTest, ALongArgumentIsCutInItsRefusal) {
    const std::string exact = "--" + std::string(254, 'x');
    EXPECT_EQ(ParseArguments({exact.c_str()}).refusal, "unknown option '" + exact + "'");
    const std::string longer = exact + "yz";
    EXPECT_EQ(ParseArguments({longer.c_str()}).refusal, "unknown option '" + exact + "...'");
    // A two-byte character across the cut is left out whole.
    const std::string accented = std::string(255, 'a') + "\xC3\xA9" + std::string(4000, 'b');
    EXPECT_EQ(ParseArguments({accented.c_str()}).refusal,
              "unexpected argument '" + std::string(255, 'a') + "...'");
}

TEST(CommandLineTest, UsageNamesEveryOption) {
    const std::string usage = CommandLine::Usage();
    for (const char* option :
         {"--window", "--fullscreen", "--integer-scale", "--nosound", "--sensitivity N",
          "--data DIR", "--record FILE", "--replay FILE", "--verify", "--help", "--version"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(usage.back(), '\n');
}

// The manual page describes every option the usage lists (the kept settings' ones and the
// program's own) and every settings key, and nothing else.
TEST(CommandLineTest, TheManualPageDescribesEveryOptionAndSettingsKeyAndNoOther) {
    const ManualPage page = ReadManualPage(ZELTO_MANUAL_PAGE);
    std::set<std::string> options;
    std::istringstream usage(CommandLine::Usage());
    for (std::string line; std::getline(usage, line);) {
        if (line.starts_with("  --")) options.insert(line.substr(2, line.find(' ', 2) - 2));
    }
    std::set<std::string> keys;
    for (const SettingRow& row : SettingRows()) keys.emplace(row.key);
    ASSERT_FALSE(page.options.empty());
    ASSERT_FALSE(page.keys.empty());
    EXPECT_EQ(Lacking(options, page.options), "") << "options the manual page lacks";
    EXPECT_EQ(Lacking(page.options, options), "") << "options only the manual page has";
    EXPECT_EQ(Lacking(keys, page.keys), "") << "settings keys the manual page lacks";
    EXPECT_EQ(Lacking(page.keys, keys), "") << "settings keys only the manual page has";
}
