// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "data_files.h"
#include "file_readers.h"

namespace datagen_test {
namespace {

namespace fs = std::filesystem;

// Runs the generator with the given arguments, its error output going to a file; returns the
// exit status.
int RunGenerator(const std::string& arguments, const fs::path& errorLog) {
    const std::string command = std::string("\"") + ZELTO_DATAGEN_PATH + "\" " + arguments +
                                " 2>\"" + errorLog.string() + "\"";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class GeneratorRuns : public testing::Test {
protected:
    void SetUp() override {
        scratch_ = fs::temp_directory_path() / ("zelto-datagen-test-" + std::to_string(getpid()));
        fs::remove_all(scratch_);
        fs::create_directories(scratch_);
    }
    void TearDown() override { fs::remove_all(scratch_); }

    fs::path scratch_;
};

TEST_F(GeneratorRuns, TwoRunsWriteTheSameBytesAsTheBuild) {
    const fs::path first = scratch_ / "first";
    const fs::path second = scratch_ / "second";
    ASSERT_EQ(RunGenerator("--out \"" + first.string() + "\" --icon-source \"" +
                               (first / "icon.cpp").string() + "\"",
                           scratch_ / "log1"),
              0);
    ASSERT_EQ(RunGenerator("--out \"" + second.string() + "\" --icon-source \"" +
                               (second / "icon.cpp").string() + "\"",
                           scratch_ / "log2"),
              0);
    for (const char* name : zelto::kDataFiles) {
        const Bytes bytes = ReadFile((first / name).string());
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_TRUE(bytes == ReadFile((second / name).string())) << name << " differs between runs";
        EXPECT_TRUE(bytes == ReadFile(GameFile(name))) << name << " differs from the build's copy";
    }
    EXPECT_TRUE(ReadFile((first / "icon.cpp").string()) ==
                ReadFile((second / "icon.cpp").string()));
    // Exactly the listed files and the icon source, nothing else.
    EXPECT_EQ(std::distance(fs::directory_iterator(first), fs::directory_iterator()),
              static_cast<std::ptrdiff_t>(zelto::kDataFileCount) + 1);
}

TEST_F(GeneratorRuns, BadArgumentsAreRefusedWithAMessage) {
    const fs::path log = scratch_ / "log";
    auto message = [&]() {
        const Bytes text = ReadFile(log.string());
        return std::string(text.begin(), text.end());
    };
    EXPECT_EQ(RunGenerator("--frobnicate", log), 2);
    EXPECT_NE(message().find("unknown option"), std::string::npos);
    EXPECT_EQ(RunGenerator("--out", log), 2);
    EXPECT_NE(message().find("needs a path"), std::string::npos);
    EXPECT_EQ(RunGenerator("", log), 2);
    EXPECT_NE(message().find("usage"), std::string::npos);

    // A folder that cannot be made, because a plain file stands in the way.
    std::ofstream(scratch_ / "plain-file") << "x";
    EXPECT_EQ(RunGenerator("--out \"" + (scratch_ / "plain-file" / "game").string() + "\"", log),
              1);
    EXPECT_NE(message().find("cannot create"), std::string::npos);
}

}  // namespace
}  // namespace datagen_test
