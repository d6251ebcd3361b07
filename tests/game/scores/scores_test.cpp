// SPDX-License-Identifier: MIT
// The best scores kept between runs: the table's text, where it is kept, and the file's
// behaviour on a missing, damaged or unreadable table, anything but a regular file in its
// place, a failing write, two games writing at once and a game killed while it writes.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "game/kept_files/xdg_folders.h"
#include "game/scores/score_file.h"
#include "game/scores/score_table.h"

namespace {

using namespace zelto;
namespace fs = std::filesystem;

std::vector<std::int32_t> ScoresOf(const ScoreTable& table) {
    std::vector<std::int32_t> scores;
    for (const ScoreEntry& entry : table.Entries()) scores.push_back(entry.score);
    return scores;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
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

// A scratch folder of its own for each test, removed afterwards.
class ScoreFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/zelto-scores-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        folder = scratch / "data" / "zelto";
    }
    void TearDown() override { fs::remove_all(scratch); }

    ScoreFile File(KeptFileWriter writer = WriteAllBytes) {
        return ScoreFile(folder.string(), std::move(writer),
                         [this](const std::string& line) { warnings.push_back(line); });
    }
    fs::path Table() const { return folder / "scores"; }
    // The files in the folder whose names start so.
    std::vector<fs::path> FilesNamed(const std::string& start) const {
        std::vector<fs::path> found;
        for (const auto& item : fs::directory_iterator(folder)) {
            if (item.path().filename().string().rfind(start, 0) == 0) found.push_back(item.path());
        }
        return found;
    }
    std::vector<fs::path> DamagedTables() const { return FilesNamed("scores.damaged-"); }

    fs::path scratch;
    fs::path folder;
    std::vector<std::string> warnings;
};

// Starts score_writer; its standard output is read through the returned pipe.
pid_t StartWriter(const fs::path& folder, std::int64_t first, std::int64_t step, std::int64_t count,
                  int* output) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    const std::string arguments[] = {std::to_string(first), std::to_string(step),
                                     std::to_string(count)};
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execl(ZELTO_SCORE_WRITER, ZELTO_SCORE_WRITER, folder.c_str(), arguments[0].c_str(),
              arguments[1].c_str(), arguments[2].c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    *output = pipeEnds[0];
    return child;
}

int ExitCode(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(ScoreTableTest, KeepsTheTenBestEqualScoresByDateAndReadsBackWhatItWrites) {
    ScoreTable table;
    for (int i = 0; i < 12; ++i) {
        table.Enter({100 * (i % 6), "2026-01-0" + std::to_string(9 - i % 4) + "T00:00:00Z"});
    }
    // Two each of 500 down to 0; the two zeros fall out.
    EXPECT_EQ(ScoresOf(table),
              (std::vector<std::int32_t>{500, 500, 400, 400, 300, 300, 200, 200, 100, 100}));
    // Of equal scores the earlier date ranks first, and a later equal score does not pass it.
    EXPECT_EQ(table.Entries()[0].date, "2026-01-06T00:00:00Z");
    EXPECT_EQ(table.Entries()[1].date, "2026-01-08T00:00:00Z");
    table.Enter({500, "2026-01-09T00:00:00Z"});
    EXPECT_EQ(table.Entries()[2].date, "2026-01-09T00:00:00Z");
    EXPECT_EQ(table.Best(), 500);
    const std::string text = table.Format();
    EXPECT_EQ(text.substr(0, text.find('\n', 15) + 1),
              "zelto scores 1\n500 2026-01-06T00:00:00Z\n");
    const std::optional<ScoreTable> back = ScoreTable::Parse(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Format(), text);
    EXPECT_EQ(UtcDate(1765275112), "2025-12-09T10:11:52Z");
    EXPECT_EQ(ScoreTable().Best(), 0);
}

TEST(ScoreTableTest, TextThatIsNotAWholeTableIsRefused) {
    struct Row {
        const char* text;
        bool whole;
    };
    const Row rows[] = {
        {"zelto scores 1\n", true},
        {"zelto scores 1\n7 2026-12-09T10:11:52Z\n2147483647 2026-12-09T10:11:52Z\n", true},
        {"", false},
        {"zelto scores 2\n", false},
        {"zelto scores 1", false},
        {"zelto scores 1\n7 2026-12-09T10:11:52Z", false},  // cut before its last newline
        {"zelto scores 1\n7 2026-12-09T10:1\n", false},
        {"zelto scores 1\n\n", false},
        {"zelto scores 1\n-7 2026-12-09T10:11:52Z\n", false},
        {"zelto scores 1\n+7 2026-12-09T10:11:52Z\n", false},
        {"zelto scores 1\n2147483648 2026-12-09T10:11:52Z\n", false},
        {"zelto scores 1\n7 2026-12-09T10:11:52Z x\n", false},
        {"zelto scores 1\n7  2026-12-09T10:11:52Z\n", false},
        {"zelto scores 1\n 7 2026-12-09T10:11:52Z\n", false},
        {"zelto scores 1\n7 2026-12-09 10:11:52\n", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ScoreTable::Parse(row.text).has_value(), row.whole) << row.text;
    }
    EXPECT_FALSE(ScoreTable::Parse(std::string_view("zelto scores 1\n\0\n", 17)));
}

TEST(ScoreTableTest, TheFoldersFollowTheXdgVariablesThenHome) {
    EXPECT_EQ(KeptDataFolder("/x/data", "/home/p"), "/x/data/zelto");
    EXPECT_EQ(KeptDataFolder("relative", "/home/p"), "/home/p/.local/share/zelto");
    EXPECT_EQ(KeptDataFolder("", "/home/p"), "/home/p/.local/share/zelto");
    EXPECT_EQ(KeptDataFolder(nullptr, "/home/p"), "/home/p/.local/share/zelto");
    EXPECT_EQ(KeptDataFolder(nullptr, nullptr), std::nullopt);
    EXPECT_EQ(KeptDataFolder("", ""), std::nullopt);
    EXPECT_EQ(KeptDataFolder("data", "home"), std::nullopt);
    EXPECT_EQ(KeptConfigFolder("/x/config", "/home/p"), "/x/config/zelto");
    EXPECT_EQ(KeptConfigFolder("config", "/home/p"), "/home/p/.config/zelto");
    EXPECT_EQ(KeptConfigFolder(nullptr, "relative"), std::nullopt);
}

TEST_F(ScoreFileTest, AMissingFolderAndTableStartANewTableThatLaterScoresJoin) {
    EXPECT_EQ(ScoresOf(File().Enter({30, "2026-12-09T10:00:00Z"})), std::vector<std::int32_t>{30});
    EXPECT_EQ(ReadFile(Table()), "zelto scores 1\n30 2026-12-09T10:00:00Z\n");
    EXPECT_EQ(ScoresOf(File().Enter({40, "2026-12-09T11:00:00Z"})),
              (std::vector<std::int32_t>{40, 30}));
    EXPECT_EQ(ReadFile(Table()),
              "zelto scores 1\n40 2026-12-09T11:00:00Z\n30 2026-12-09T10:00:00Z\n");
    EXPECT_TRUE(warnings.empty());
    EXPECT_TRUE(FilesNamed("scores.new").empty());
}

TEST_F(ScoreFileTest, ADamagedTableIsKeptAsideWithOneWarningAndANewOneStarted) {
    // A malformed line; and well-formed lines beyond any size this program writes.
    std::string huge = "zelto scores 1\n";
    while (huge.size() <= ScoreFile::kLargestTable) huge += "7 2026-12-09T10:11:52Z\n";
    const std::string damaged[] = {"zelto scores 1\n12 yesterday\n", huge};
    for (const std::string& text : damaged) {
        fs::create_directories(folder);
        WriteFile(Table(), text);
        EXPECT_EQ(ScoresOf(File().Enter({5, "2026-12-09T10:00:00Z"})),
                  std::vector<std::int32_t>{5});
        EXPECT_EQ(warnings.size(), 1u);
        EXPECT_EQ(ReadFile(Table()), "zelto scores 1\n5 2026-12-09T10:00:00Z\n");
        const std::vector<fs::path> aside = DamagedTables();
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(ReadFile(aside[0]), text);
        fs::remove_all(folder);
        warnings.clear();
    }
}

TEST_F(ScoreFileTest, AnUnreadableTableIsLeftAsItIsWithOneWarning) {
    // A link to itself where the table should be: it cannot be opened.
    fs::create_directories(folder);
    fs::create_symlink("scores", Table());
    EXPECT_EQ(ScoresOf(File().Enter({5, "2026-12-09T10:00:00Z"})), std::vector<std::int32_t>{5});
    EXPECT_EQ(warnings.size(), 1u);
    EXPECT_EQ(fs::read_symlink(Table()), "scores");
    EXPECT_TRUE(DamagedTables().empty());
    // A folder that cannot be made: a file stands in its place.
    warnings.clear();
    fs::remove_all(folder);
    WriteFile(folder, "not a folder");
    EXPECT_EQ(ScoresOf(File().Enter({6, "2026-12-09T10:00:00Z"})), std::vector<std::int32_t>{6});
    EXPECT_EQ(warnings.size(), 1u);
    EXPECT_EQ(ReadFile(folder), "not a folder");
}

TEST_F(ScoreFileTest, AFifoOrAFolderInTheTablesPlaceIsKeptAsideWithoutWaitingOnIt) {
    fs::create_directories(folder);
    ASSERT_EQ(mkfifo(Table().c_str(), 0644), 0);
    {
        const HangGuard guard;
        EXPECT_EQ(ScoresOf(File().Enter({5, "2026-12-09T10:00:00Z"})),
                  std::vector<std::int32_t>{5});
    }
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("damaged (not a regular file)"), std::string::npos) << warnings[0];
    EXPECT_EQ(ReadFile(Table()), "zelto scores 1\n5 2026-12-09T10:00:00Z\n");
    std::vector<fs::path> aside = DamagedTables();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_TRUE(fs::is_fifo(aside[0]));
    // A folder: put aside with what it holds.
    fs::remove_all(folder);
    warnings.clear();
    fs::create_directories(Table());
    WriteFile(Table() / "inside", "kept");
    EXPECT_EQ(ScoresOf(File().Enter({6, "2026-12-09T10:00:00Z"})), std::vector<std::int32_t>{6});
    EXPECT_EQ(warnings.size(), 1u);
    aside = DamagedTables();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(ReadFile(aside[0] / "inside"), "kept");
}

TEST_F(ScoreFileTest, NewFilesLeftByKilledGamesAreRemovedAtTheNextEntryAndNothingElse) {
    File().Enter({30, "2026-12-09T10:00:00Z"});
    const std::string left[] = {"scores.new-Ab12Cd", "scores.new-000000"};
    const std::string others[] = {"scores.new-Ab12C", "scores.new-Ab12Cde", "scores.new-Ab_2Cd",
                                  "settings.new-Ab12Cd", "scores.damaged-1"};
    for (const std::string& name : left) WriteFile(folder / name, "zelto scores 1\n");
    for (const std::string& name : others) WriteFile(folder / name, "not ours");
    EXPECT_EQ(ScoresOf(File().Enter({40, "2026-12-09T11:00:00Z"})),
              (std::vector<std::int32_t>{40, 30}));
    for (const std::string& name : left) EXPECT_FALSE(fs::exists(folder / name)) << name;
    for (const std::string& name : others) EXPECT_TRUE(fs::exists(folder / name)) << name;
    EXPECT_TRUE(warnings.empty());
}

TEST_F(ScoreFileTest, AFailingWriteKeepsTheOldTableWithOneWarning) {
    File().Enter({30, "2026-12-09T10:00:00Z"});
    const std::string old = ReadFile(Table());
    // A full disk: half the table goes out, then the disk refuses the rest.
    const auto fullDisk = [](int fd, std::string_view bytes) {
        WriteAllBytes(fd, bytes.substr(0, bytes.size() / 2));
        errno = ENOSPC;
        return false;
    };
    EXPECT_EQ(ScoresOf(File(fullDisk).Enter({40, "2026-12-09T11:00:00Z"})),
              (std::vector<std::int32_t>{40, 30}));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("No space left on device"), std::string::npos) << warnings[0];
    EXPECT_EQ(ReadFile(Table()), old);
    EXPECT_TRUE(FilesNamed("scores.new").empty());
}

TEST_F(ScoreFileTest, TwoGamesWritingAtOnceLoseNoScore) {
    // Each enters 150 rising scores, the two interleaved: every entry passes all before it, so
    // an update lost between the two would leave a gap in the ten best.
    constexpr int kEach = 150;
    int outputs[2];
    const pid_t writers[] = {StartWriter(folder, 1, 2, kEach, &outputs[0]),
                             StartWriter(folder, 2, 2, kEach, &outputs[1])};
    for (int i = 0; i < 2; ++i) {
        ASSERT_GT(writers[i], 0);
        char buffer[256];
        while (read(outputs[i], buffer, sizeof buffer) > 0) {
        }
        close(outputs[i]);
        EXPECT_EQ(ExitCode(writers[i]), 0);
    }
    const std::optional<ScoreTable> table = ScoreTable::Parse(ReadFile(Table()));
    ASSERT_TRUE(table);
    EXPECT_EQ(ScoresOf(*table),
              (std::vector<std::int32_t>{300, 299, 298, 297, 296, 295, 294, 293, 292, 291}));
}

TEST_F(ScoreFileTest, AGameKilledWhileWritingLeavesTheOldTableOrTheNew) {
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> delayMicroseconds(0, 3000);
    std::vector<std::int32_t> before;
    for (int run = 0; run < 200; ++run) {
        int output = -1;
        // Every run's scores are above the runs' before, so each table passes the one before.
        const pid_t writer = StartWriter(folder, (run + 1) * 1000000, 1, 0, &output);
        ASSERT_GT(writer, 0);
        // Killed at a random moment once the writing has begun.
        char byte = 0;
        ASSERT_EQ(read(output, &byte, 1), 1) << "run " << run;
        usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        kill(writer, SIGKILL);
        close(output);
        ExitCode(writer);
        const std::optional<ScoreTable> table = ScoreTable::Parse(ReadFile(Table()));
        ASSERT_TRUE(table) << "run " << run << ": " << ReadFile(Table());
        const std::vector<std::int32_t> after = ScoresOf(*table);
        ASSERT_GE(after.size(), std::max<std::size_t>(before.size(), 1)) << "run " << run;
        for (std::size_t i = 0; i < before.size(); ++i) ASSERT_GE(after[i], before[i]);
        before = after;
    }
    EXPECT_TRUE(DamagedTables().empty());
    // Each run cleared away the new files of the runs killed before it: only the last run's
    // may be left.
    EXPECT_LE(FilesNamed("scores.new-").size(), 1u);
}
