// SPDX-License-Identifier: MIT
// The game with its generated data set under the fake host: start-up loads ZELTO.FMP, and
// frames of the running game draw the map into the back buffer at any scroll position; a
// ZELTO.FMP that is a folder is reported and ends the game.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cdx/error/cdxerror.h"
#include "game/spine/zelto.h"
#include "platform/fake/fake_host.h"

using namespace platform;
using namespace zelto;

TEST(GameMap, StartUpLoadsTheMapAndFramesDrawItAnywhere) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(ZELTO_GAME_DIR);
    FakeHost host;
    SetHost(&host);
    Game game;
    int drawn = 0;
    // The display is lost after the draw of blank 8; the next frame restores the blocks first,
    // as the game does when a draw fails.
    host.AtBlank(9, [&](FakeHost&) {
        game.GameScreen->RestoreAll();
        EXPECT_EQ(game.GameMap->Draw(game.GameScreen->Back), -1);
        EXPECT_EQ(game.GameMap->Restore(), 0);
    });
    for (int blank = 2; blank < 14; ++blank) {
        host.AtBlank(blank, [&, blank](FakeHost&) {
            ASSERT_TRUE(game.GameMap);
            game.GameMap->SetScrollPosition(blank * 83 - 100, blank * 47);
            EXPECT_EQ(game.GameMap->Draw(game.GameScreen->Back), 0);
            ++drawn;
        });
    }
    host.AtBlank(8, [](FakeHost& h) { h.LoseDisplay(); });
    host.AtBlank(14, [](FakeHost& h) { h.QueueEvent(HostEvent::Kind::CloseRequested); });
    EXPECT_EQ(WinMain(game, nullptr, nullptr, "", SW_SHOWNORMAL), 0);
    std::filesystem::current_path(previous);
    for (const auto& box : host.MessageBoxes()) ADD_FAILURE() << box.text;
    EXPECT_EQ(drawn, 12);
    EXPECT_EQ(game.GameMap, nullptr);
}

TEST(GameMap, AMapFileThatIsAFolderIsReportedAndEndsTheGame) {
    // The data set with a folder in the map file's place, its other files linked.
    const auto previous = std::filesystem::current_path();
    const auto data =
        std::filesystem::temp_directory_path() / ("zelto-map-folder-" + std::to_string(getpid()));
    std::filesystem::remove_all(data);
    std::filesystem::create_directories(data / "ZELTO.FMP");
    for (const auto& entry : std::filesystem::directory_iterator(ZELTO_GAME_DIR)) {
        if (entry.path().filename() == "ZELTO.FMP") continue;
        std::filesystem::create_symlink(entry.path(), data / entry.path().filename());
    }
    std::filesystem::current_path(data);
    FakeHost host;
    SetHost(&host);
    Game game;
    const int exitCode = WinMain(game, nullptr, nullptr, "", SW_SHOWNORMAL);
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(data);
    EXPECT_EQ(exitCode, cdx::kReportedFailureExitCode);
    std::vector<std::string> texts;
    for (const auto& box : host.MessageBoxes()) texts.push_back(box.text);
    EXPECT_EQ(texts, std::vector<std::string>{"Failed to Load Zelto.fmp"});
    EXPECT_EQ(game.GameMap, nullptr);
}
