#include "data_folder.h"

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
        for (const char* folder : {"cwd", "prefix/bin", "prefix/share/zelto", "elsewhere"}) {
            std::filesystem::create_directories(root / folder);
        }
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    void PutDataSet(const std::filesystem::path& folder) {
        std::ofstream(root / folder / kDataSetMarker) << "FORM";
    }
    std::filesystem::path Found(const std::filesystem::path& executableFolder) {
        return FindDataFolder(root / "cwd", DataFolderCandidates(executableFolder, "../share/zelto",
                                                                 root / "elsewhere"));
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

TEST_F(DataFolderTest, NoDataSetAnywhereStaysInTheCurrentFolder) {
    // A folder of that name is not the data set; start-up then names every file it misses.
    std::filesystem::create_directories(root / "prefix/bin" / kDataSetMarker);
    EXPECT_EQ(Found(root / "prefix/bin"), root / "cwd");
    EXPECT_EQ(Found({}), root / "cwd");
}

TEST(DataFolderCandidatesTest, RelativeInstalledFoldersAreNotGuessedAt) {
    const std::vector<std::filesystem::path> candidates =
        DataFolderCandidates("/usr/bin", "../share/zelto", "share/zelto");
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0], "/usr/bin");
    EXPECT_EQ(candidates[1], "/usr/share/zelto");
}
