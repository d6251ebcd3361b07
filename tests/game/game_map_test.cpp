// The game with its generated data set under the fake host: start-up loads ZELTO.FMP, and
// frames of the running game draw the map into the back buffer at any scroll position.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "fake_host.h"
#include "zelto.h"

using namespace platform;
using namespace zelto;

TEST(GameMap, StartUpLoadsTheMapAndFramesDrawItAnywhere) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(ZELTO_GAME_DIR);
    FakeHost host;
    SetHost(&host);
    int drawn = 0;
    // The display is lost after the draw of blank 8; the next frame restores the blocks first,
    // as the game does when a draw fails.
    host.AtBlank(9, [](FakeHost&) {
        GameScreen->RestoreAll();
        EXPECT_EQ(GameMap->Draw(GameScreen->Back), -1);
        EXPECT_EQ(GameMap->Restore(), 0);
    });
    for (int blank = 2; blank < 14; ++blank) {
        host.AtBlank(blank, [&, blank](FakeHost&) {
            ASSERT_TRUE(GameMap);
            GameMap->SetScrollPosition(blank * 83 - 100, blank * 47);
            EXPECT_EQ(GameMap->Draw(GameScreen->Back), 0);
            ++drawn;
        });
    }
    host.AtBlank(8, [](FakeHost& h) { h.LoseDisplay(); });
    host.AtBlank(14, [](FakeHost& h) { h.QueueEvent(HostEvent::Kind::CloseRequested); });
    EXPECT_EQ(WinMain(nullptr, nullptr, "", SW_SHOWNORMAL), 0);
    std::filesystem::current_path(previous);
    for (const auto& box : host.MessageBoxes()) ADD_FAILURE() << box.text;
    EXPECT_EQ(drawn, 12);
    EXPECT_EQ(GameMap, nullptr);
}
