// SPDX-License-Identifier: MIT
#include "game/spine/data_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace zelto;

class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("zelto-data-folder-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        for (const char* folder : {"cwd", "prefix/bin", "prefix/share/zelto", "prefix/games",
                                   "prefix/share/games/zelto", "elsewhere", "elsewhere-games"}) {
            std::filesystem::create_directories(root / folder);
        }
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    void PutDataSet(const std::filesystem::path& folder) {
        std::ofstream(root / folder / kDataSetMarker) << "FORM";
    }
    std::filesystem::path Found(const std::filesystem::path& executableFolder) {
        return FindDataFolder(
            root / "cwd",
            DataFolderCandidates(executableFolder, {"../share/zelto", "../share/games/zelto"},
                                 {root / "elsewhere", root / "elsewhere-games"}));
    }

    std::filesystem::path root;
};

TEST_F(DataFolderTest, TheCurrentFolderWinsWhenItHoldsTheDataSet) {
    PutDataSet("cwd");
    PutDataSet("prefix/bin");
    EXPECT_EQ(Found(root / "prefix/bin"), root / "cwd");
}

TEST_F(DataFolderTest, ABuildTreeKeepsTheDataBesideTheProgram) {
    PutDataSet("prefix/bin");
    PutDataSet("prefix/share/zelto");
    EXPECT_EQ(Found(root / "prefix/bin"), root / "prefix/bin");
}

TEST_F(DataFolderTest, AnInstallationIsFoundFromTheProgramThenWhereItWasInstalled) {
    PutDataSet("prefix/share/zelto");
    PutDataSet("elsewhere");
    EXPECT_EQ(Found(root / "prefix/bin"), root / "prefix/share/zelto");
    std::filesystem::remove(root / "prefix/share/zelto" / kDataSetMarker);
    EXPECT_EQ(Found(root / "prefix/bin"), root / "elsewhere");
    // Where the system does not say where the program is, only the installed folder is left.
    EXPECT_EQ(Found({}), root / "elsewhere");
}

// The Debian package keeps the program in games and the data set in share/games/zelto; the
// same program finds a data set in either layout, from either program folder.
TEST_F(DataFolderTest, APackageKeepsTheDataInTheGamesFolders) {
    PutDataSet("prefix/share/games/zelto");
    EXPECT_EQ(Found(root / "prefix/games"), root / "prefix/share/games/zelto");
    EXPECT_EQ(Found(root / "prefix/bin"), root / "prefix/share/games/zelto");
    PutDataSet("prefix/share/zelto");
    EXPECT_EQ(Found(root / "prefix/games"), root / "prefix/share/zelto");
    std::filesystem::remove(root / "prefix/share/zelto" / kDataSetMarker);
    std::filesystem::remove(root / "prefix/share/games/zelto" / kDataSetMarker);
    PutDataSet("elsewhere-games");
    EXPECT_EQ(Found(root / "prefix/games"), root / "elsewhere-games");
}

TEST_F(DataFolderTest, NoDataSetAnywhereStaysInTheCurrentFolder) {
    // A folder of that name is not the data set; start-up then names every file it misses.
    std::filesystem::create_directories(root / "prefix/bin" / kDataSetMarker);
    EXPECT_EQ(Found(root / "prefix/bin"), root / "cwd");
    EXPECT_EQ(Found({}), root / "cwd");
}

TEST(DataFolderCandidatesTest, RelativeInstalledFoldersAreNotGuessedAt) {
    const std::vector<std::filesystem::path> candidates =
        DataFolderCandidates("/usr/games", {"../share/zelto", "../share/games/zelto"},
                             {"share/zelto", "/usr/share/games/zelto"});
    const std::vector<std::filesystem::path> expected = {
        "/usr/games", "/usr/share/zelto", "/usr/share/games/zelto", "/usr/share/games/zelto"};
    EXPECT_EQ(candidates, expected);
}
