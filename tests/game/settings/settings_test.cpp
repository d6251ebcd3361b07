// SPDX-License-Identifier: MIT
// The settings kept between runs: their text, and the file's behaviour when it is missing,
// damaged, unreadable or not a regular file, when the disk refuses a write, when two games end
// at once and when games killed while writing left their new files behind.

#include "game/settings/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "game/settings/setting_rows.h"
#include "game/settings/settings_file.h"

namespace {

using namespace zelto;
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

Settings Played() {
    Settings settings;
    settings.inWindow = true;
    settings.windowWidth = 1000;
    settings.windowHeight = 750;
    settings.sensitivity = 2.5f;
    settings.integerScale = true;
    settings.muted = true;
    settings.windowPosition = WindowPosition{-1920, 24};
    return settings;
}

// Ends the test program, a failure, should a step wait for more than a minute: the open of a
// FIFO that waits for a writer waits for ever.
class HangGuard {
public:
    HangGuard() { alarm(60); }
    ~HangGuard() { alarm(0); }
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;
};

}  // namespace

TEST(SettingsTest, TheTextReadsBackAsWrittenAndEachKeyCanStandAlone) {
    std::string fault;
    EXPECT_EQ(Settings::Parse(Played().Format(), fault), Played());
    EXPECT_EQ(Settings::Parse(Settings{}.Format(), fault), Settings{});
    EXPECT_EQ(Settings::Parse("", fault), Settings{});

    struct Row {
        const char* text;
        bool whole;
    };
    const Row rows[] = {
        {"window = yes\n", true},
        {"  window=no  \r\n# a comment\n\n", true},
        {"window-size = 64x16384\n", true},
        {"window-position = -32767,32767\n", true},
        {"sensitivity = 0.1\nsensitivity = 10\n", true},
        {"fullscreen-effects = lots\n", true},  // a key of a newer game
        {"mute = yes", true},                   // no newline at the end
        {"window = maybe\n", false},
        {"window = Yes\n", false},
        {"window\n", false},
        {"= yes\n", false},
        {"window-size = 800\n", false},
        {"window-size = 800x\n", false},
        {"window-size = 63x480\n", false},
        {"window-size = 800x16385\n", false},
        {"window-size = -800x600\n", false},
        {"window-size = 99999999999x600\n", false},
        {"window-position = 32768,0\n", false},
        {"window-position = 0,-32768\n", false},
        {"window-position = 10\n", false},
        {"window-position = 10,\n", false},
        {"window-position = 10x20\n", false},
        {"sensitivity = 0\n", false},
        {"sensitivity = 1,5\n", false},
        {"sensitivity = nan\n", false},
        {"integer-scale = 1\n", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Settings::Parse(row.text, fault).has_value(), row.whole) << row.text;
    }
    ASSERT_FALSE(Settings::Parse("mute = no\nwindow = maybe\n", fault));
    EXPECT_EQ(fault, "line 2 reads 'window = maybe'");
    // Only a window that was somewhere has its position written.
    EXPECT_EQ(Settings{}.Format().find("window-position"), std::string::npos);
    EXPECT_NE(Played().Format().find("window-position = -1920,24\n"), std::string::npos);
}

// Every row of the table reads back at its default and at its range's ends, reaching its own
// member alone, and a value just past either end is refused: a reach that writes another
// member, or a range read wider or narrower than it is written, shows here.
TEST(SettingsTest, EveryRowReadsBackAtItsDefaultAndItsEndsAndRefusesJustPastThem) {
    const auto written = [](const SettingRow& row, const Settings& settings) {
        return WrittenSettingValue(row, row.get(settings));
    };
    for (const SettingRow& row : SettingRows()) {
        std::vector<SettingValue> ends = {{.yes = true}, {.yes = false}};
        std::vector<SettingValue> beyond;
        if (row.type == SettingType::kDecimal) {
            const auto least = static_cast<float>(row.least);
            const auto most = static_cast<float>(row.most);
            ends = {{.number = least}, {.number = most}};
            beyond = {{.number = std::nextafter(least, -INFINITY)},
                      {.number = std::nextafter(most, INFINITY)}};
        } else if (row.type != SettingType::kYesNo) {
            const int low = static_cast<int>(row.least);
            const int high = static_cast<int>(row.most);
            ends = {{.first = low, .second = high}, {.first = high, .second = low}};
            beyond = {{.first = low - 1, .second = low}, {.first = low, .second = high + 1}};
        }
        const std::string key(row.key);
        std::string fault;
        for (const SettingValue& end : ends) {
            Settings settings;
            row.set(settings, end);
            for (const SettingRow& other : SettingRows()) {
                if (&other == &row) continue;
                EXPECT_EQ(written(other, settings), written(other, Settings{}))
                    << key << " reaches " << other.key;
            }
            const std::string line = key + " = " + WrittenSettingValue(row, end) + "\n";
            EXPECT_NE(settings.Format().find(line), std::string::npos) << settings.Format();
            EXPECT_EQ(Settings::Parse(settings.Format(), fault), settings) << line;
        }
        for (const SettingValue& past : beyond) {
            const std::string line = key + " = " + WrittenSettingValue(row, past);
            EXPECT_FALSE(Settings::Parse(line, fault)) << line;
        }
        const SettingValue byDefault = row.get(Settings{});
        if (!byDefault.absent) {
            const std::string line = key + " = " + WrittenSettingValue(row, byDefault);
            EXPECT_EQ(Settings::Parse(line, fault), Settings{}) << line;
        }
    }
}

TEST(SettingsTest, ADamagedLineIsShownWithoutItsControlBytesAndCutShort) {
    // A new title and a cleared screen, had they reached a terminal.
    std::string fault;
    ASSERT_FALSE(Settings::Parse("window = \x1b]0;TITLE\x07\x1b[2J\n", fault));
    EXPECT_EQ(fault, "line 1 reads 'window = \\x1b]0;TITLE\\x07\\x1b[2J'");
    ASSERT_FALSE(Settings::Parse("mute = \\\xe9\n", fault));
    EXPECT_EQ(fault, "line 1 reads 'mute = \\\\\\xe9'");
    // A line of 200 characters shows its first 80, and says that there is more.
    const std::string longLine = "mute = " + std::string(193, 'y');
    ASSERT_FALSE(Settings::Parse(longLine, fault));
    EXPECT_EQ(fault, "line 1 reads '" + longLine.substr(0, Settings::kLongestShownLine) + "...'");
    EXPECT_EQ(Settings::kLongestShownLine, 80u);
    // An escape is shown whole or not at all.
    ASSERT_FALSE(Settings::Parse("mute = " + std::string(69, 'y') + "\x01\x02", fault));
    EXPECT_EQ(fault, "line 1 reads 'mute = " + std::string(69, 'y') + "\\x01...'");
    ASSERT_FALSE(Settings::Parse("mute = " + std::string(71, 'y') + "\x01", fault));
    EXPECT_EQ(fault, "line 1 reads 'mute = " + std::string(71, 'y') + "...'");
}

// A scratch folder of its own for each test, removed afterwards.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/zelto-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        folder = scratch / "config" / "zelto";
    }
    void TearDown() override { fs::remove_all(scratch); }

    SettingsFile File(KeptFileWriter writer = WriteAllBytes) {
        return SettingsFile(folder.string(), std::move(writer),
                            [this](const std::string& line) { warnings.push_back(line); });
    }
    fs::path Path() const { return folder / "settings"; }
    std::vector<fs::path> FilesNamed(const std::string& start) const {
        std::vector<fs::path> found;
        for (const auto& item : fs::directory_iterator(folder)) {
            if (item.path().filename().string().rfind(start, 0) == 0) found.push_back(item.path());
        }
        return found;
    }

    fs::path scratch;
    fs::path folder;
    std::vector<std::string> warnings;
};

TEST_F(SettingsFileTest, AMissingFileMeansTheDefaultsAndASaveKeepsTheSettingsForTheNextRun) {
    SettingsFile first = File();
    EXPECT_EQ(first.Load(), Settings{});
    first.Save(Played());
    EXPECT_EQ(File().Load(), Played());
    EXPECT_TRUE(warnings.empty());
    EXPECT_TRUE(FilesNamed("settings.new").empty());
}

TEST_F(SettingsFileTest, ADamagedOrUnreadableFileGivesTheDefaultsAndIsPutAsideNotOverwritten) {
    std::string tooLong;
    while (tooLong.size() <= SettingsFile::kLargestFile) tooLong += "# a comment\n";
    for (const std::string& damaged : {std::string("window = maybe\n"), tooLong}) {
        fs::create_directories(folder);
        std::ofstream(Path(), std::ios::binary) << damaged;
        SettingsFile file = File();
        EXPECT_EQ(file.Load(), Settings{});
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_NE(warnings[0].find("damaged"), std::string::npos) << warnings[0];
        // Saving the same defaults still writes a new file, once the damaged one is aside.
        file.Save(Settings{});
        EXPECT_EQ(File().Load(), Settings{});
        const std::vector<fs::path> aside = FilesNamed("settings.damaged-");
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(ReadFile(aside[0]), damaged);
        EXPECT_EQ(warnings.size(), 1u);
        fs::remove_all(folder);
        warnings.clear();
    }
    // A link to itself: it cannot be opened.
    fs::create_directories(folder);
    fs::create_symlink("settings", Path());
    SettingsFile file = File();
    EXPECT_EQ(file.Load(), Settings{});
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("cannot read"), std::string::npos) << warnings[0];
    file.Save(Played());
    EXPECT_EQ(File().Load(), Played());
    const std::vector<fs::path> aside = FilesNamed("settings.damaged-");
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(fs::read_symlink(aside[0]), "settings");
}

TEST_F(SettingsFileTest, AFifoOrAFolderInTheFilesPlaceIsDamagedAndNeverWaitedOn) {
    struct Row {
        const char* what;
        std::function<void(const fs::path&)> make;
        std::function<bool(const fs::path&)> stands;
    };
    const Row rows[] = {
        {"a FIFO", [](const fs::path& path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); },
         [](const fs::path& path) { return fs::is_fifo(path); }},
        {"a folder",
         [](const fs::path& path) {
             fs::create_directories(path);
             std::ofstream(path / "inside") << "kept";
         },
         [](const fs::path& path) { return ReadFile(path / "inside") == "kept"; }},
    };
    const HangGuard guard;
    for (const Row& row : rows) {
        fs::create_directories(folder);
        row.make(Path());
        SettingsFile file = File();
        EXPECT_EQ(file.Load(), Settings{}) << row.what;
        ASSERT_EQ(warnings.size(), 1u) << row.what;
        EXPECT_NE(warnings[0].find("damaged (not a regular file)"), std::string::npos)
            << warnings[0];
        file.Save(Played());
        EXPECT_EQ(File().Load(), Played()) << row.what;
        const std::vector<fs::path> aside = FilesNamed("settings.damaged-");
        ASSERT_EQ(aside.size(), 1u) << row.what;
        EXPECT_TRUE(row.stands(aside[0])) << row.what;
        EXPECT_EQ(warnings.size(), 1u) << row.what;
        fs::remove_all(folder);
        warnings.clear();
    }
}

TEST_F(SettingsFileTest, AFailingWriteKeepsTheOldSettingsWithOneWarning) {
    File().Save(Played());
    const std::string old = ReadFile(Path());
    const auto fullDisk = [](int fd, std::string_view bytes) {
        WriteAllBytes(fd, bytes.substr(0, bytes.size() / 2));
        errno = ENOSPC;
        return false;
    };
    SettingsFile file = File(fullDisk);
    file.Load();
    file.Save(Settings{});
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("No space left on device"), std::string::npos) << warnings[0];
    EXPECT_EQ(ReadFile(Path()), old);
    EXPECT_TRUE(FilesNamed("settings.new").empty());
    // A folder that cannot be made: a file stands in its place.
    warnings.clear();
    fs::remove_all(folder);
    std::ofstream(folder) << "not a folder";
    File().Save(Played());
    EXPECT_EQ(warnings.size(), 1u);
    EXPECT_EQ(ReadFile(folder), "not a folder");
}

TEST_F(SettingsFileTest, TwoGamesEndingAtOnceLeaveTheSettingsOfOneOfThem) {
    File().Save(Settings{});
    // Each game saves its own settings over and over while the file is read: every reading is
    // whole, one game's settings or the other's.
    // A game that cleared away the other's new file as one left by a killed game would make
    // the other's rename fail.
    std::atomic<int> warned{0};
    const auto saveMany = [this, &warned](const Settings& settings) {
        for (int i = 0; i < 200; ++i) {
            SettingsFile file(folder.string(), WriteAllBytes,
                              [&warned](const std::string&) { ++warned; });
            file.Save(settings);
        }
    };
    std::thread first(saveMany, Settings{});
    std::thread second(saveMany, Played());
    for (int i = 0; i < 200; ++i) {
        std::string fault;
        const std::optional<Settings> read = Settings::Parse(ReadFile(Path()), fault);
        if (!read) {
            ADD_FAILURE() << "a reading was not whole: " << fault;
            break;
        }
        EXPECT_TRUE(*read == Settings{} || *read == Played());
    }
    first.join();
    second.join();
    EXPECT_EQ(warned, 0);
    EXPECT_TRUE(FilesNamed("settings.new").empty());
}

TEST_F(SettingsFileTest, NewFilesLeftByKilledGamesAreRemovedAtTheNextSaveAndNothingElse) {
    File().Save(Played());
    const std::string left[] = {"settings.new-Ab12Cd", "settings.new-000000"};
    const std::string others[] = {"settings.new-Ab12C", "settings.new-Ab12Cde",
                                  "settings.new-Ab_2Cd", "scores.new-Ab12Cd", "settings.damaged-1"};
    for (const std::string& name : left) std::ofstream(folder / name) << "cut short";
    for (const std::string& name : others) std::ofstream(folder / name) << "not ours";
    // The settings are the same: nothing is written, and the left files go all the same.
    SettingsFile file = File();
    EXPECT_EQ(file.Load(), Played());
    file.Save(Played());
    for (const std::string& name : left) EXPECT_FALSE(fs::exists(folder / name)) << name;
    for (const std::string& name : others) EXPECT_TRUE(fs::exists(folder / name)) << name;
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(File().Load(), Played());
}
