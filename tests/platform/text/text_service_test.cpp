// SPDX-License-Identifier: MIT
// The text service itself: which face a font name finds, and the default face where the name's
// file cannot be used.
#include "platform/text/text_service.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>

#include "platform/fake/fake_host.h"

using namespace platform;

TEST(TextService, ScriptIsARealScriptFaceAndUnknownFacesFallBackToTheDefault) {
    FakeHost host;
    SetHost(&host);
    HFONT script = CreateFont(40, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 3, 2, "Script");
    ASSERT_NE(script, nullptr);
    EXPECT_STREQ(MatchedFamily(script), "Dancing Script");
    EXPECT_EQ(FontCellHeight(script), 40);
    HFONT missing = CreateFont(20, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 3, 2, "No Such Face Here");
    ASSERT_NE(missing, nullptr);
    EXPECT_STREQ(MatchedFamily(missing), "DejaVu Sans");
    EXPECT_EQ(FontCellHeight(missing), 20);
    EXPECT_STREQ(MatchedFamily(nullptr), "DejaVu Sans");
    DeleteObject(script);
    DeleteObject(missing);
}

TEST(TextService, AFaceWhoseFileIsNoRegularFileFallsBackToTheDefault) {
    FakeHost host;
    SetHost(&host);
    // The service is started first, so that the rules below join the configuration it uses.
    DeleteObject(CreateFont(20, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 3, 2, nullptr));
    const auto scratch =
        std::filesystem::temp_directory_path() / ("zelto-text-test-" + std::to_string(getpid()));
    std::filesystem::remove_all(scratch);
    ASSERT_TRUE(std::filesystem::create_directories(scratch / "folder.ttf"));
    ASSERT_EQ(mkfifo((scratch / "fifo.ttf").c_str(), 0600), 0);
    // Each face name is matched to a family of its own whose file is not a regular file: a
    // folder, a device that never ends, and a FIFO without a writer, whose plain open waits for
    // one.
    const std::pair<std::string, std::string> faces[] = {
        {"Zelto Folder Face", (scratch / "folder.ttf").string()},
        {"Zelto Device Face", "/dev/zero"},
        {"Zelto Fifo Face", (scratch / "fifo.ttf").string()},
    };
    std::string rules = "<?xml version=\"1.0\"?><fontconfig>";
    for (const auto& [face, file] : faces) {
        rules += "<match target=\"font\"><test target=\"pattern\" name=\"family\"><string>" + face +
                 "</string></test><edit name=\"family\" mode=\"assign\"><string>" + face +
                 "</string></edit><edit name=\"file\" mode=\"assign\"><string>" + file +
                 "</string></edit></match>";
    }
    rules += "</fontconfig>";
    ASSERT_TRUE(FcConfigParseAndLoadFromMemory(
        FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(rules.c_str()), FcTrue));
    for (const auto& [face, file] : faces) {
        HFONT font = CreateFont(20, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 3, 2, face.c_str());
        ASSERT_NE(font, nullptr) << file;
        EXPECT_STREQ(MatchedFamily(font), "DejaVu Sans") << file;
        EXPECT_EQ(FontCellHeight(font), 20) << file;
        DeleteObject(font);
    }
    std::filesystem::remove_all(scratch);
}
