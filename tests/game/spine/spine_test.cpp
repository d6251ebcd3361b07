// SPDX-License-Identifier: MIT
// The program from start to end through the fake host: start-up, the message loop, frames,
// activation, loss of the display, and the orderly end.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "cdx/error/cdxerror.h"
#include "game/spine/zelto.h"
#include "platform/fake/fake_host.h"
#include "test_pictures.h"

using namespace platform;

namespace {

using namespace cdx;
using namespace zelto;

class SpineTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetHost(&host);
        host.SetPicturesKept(32);
    }

    void CloseAtBlank(std::uint64_t blank) {
        host.AtBlank(blank, [](FakeHost& h) { h.QueueEvent(HostEvent::Kind::CloseRequested); });
    }

    int Run() { return WinMain(game, nullptr, nullptr, "", SW_SHOWNORMAL); }

    FakeHost host;
    Game game;
};

}  // namespace

TEST_F(SpineTest, RunsFramesAtTheRefreshRateUntilClosed) {
    CloseAtBlank(30);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(host.CurrentMode().bitsPerPixel, 16);
    EXPECT_EQ(host.CurrentMode().width, 640);
    EXPECT_EQ(host.PictureCount(), 30u);
    ASSERT_FALSE(host.Pictures().empty());
    const auto& last = host.Pictures().back();
    EXPECT_EQ(last.blank, 30u);
    // The intro's picture stands at x 8 on a back buffer cleared to black.
    EXPECT_EQ(last.PixelAt(0, 0), 0u);
    EXPECT_EQ(last.PixelAt(7, 479), 0u);
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_EQ(host.WindowTitle(), "zelto");
    EXPECT_NE(host.WindowIcon(), nullptr);
    EXPECT_FALSE(host.CursorVisible());
    EXPECT_TRUE(host.ModeRestored());
    EXPECT_EQ(game.GameScreen, nullptr);
}

TEST_F(SpineTest, FallsBackToFifteenBitsWithoutSixteen) {
    host.SetDisplayModes({{640, 480, 8}, {640, 480, 15}, {800, 600, 16}});
    CloseAtBlank(3);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(host.CurrentMode().bitsPerPixel, 15);
    EXPECT_EQ(host.PictureCount(), 3u);
    EXPECT_EQ(host.Pictures().back().depth, 15);
}

TEST_F(SpineTest, WithoutEitherModeReportsAndEndsBeforeAnyFrame) {
    host.SetDisplayModes({{640, 480, 8}, {640, 480, 32}});
    EXPECT_EQ(Run(), kReportedFailureExitCode);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text, "Could not set 640x480x15 video mode");
    EXPECT_EQ(host.MessageBoxes()[0].caption, "Error");
    EXPECT_EQ(host.MessageBoxes()[0].type, MB_OK | MB_ICONERROR);
    EXPECT_EQ(host.PictureCount(), 0u);
    EXPECT_EQ(host.Blank(), 0u);
}

TEST_F(SpineTest, AModeThatIsOfferedButRefusedIsReportedAsSuch) {
    host.RefuseCooperativeLevel(DDERR_NOEXCLUSIVEMODE);
    EXPECT_EQ(Run(), kReportedFailureExitCode);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text, "Could not set 640x480x16 video mode");
    EXPECT_EQ(host.PictureCount(), 0u);
}

TEST_F(SpineTest, AWindowThatCannotBeMadeIsReported) {
    host.RefuseWindow(true);
    EXPECT_EQ(Run(), kReportedFailureExitCode);
    ASSERT_GE(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text, "could not create the main window");
    EXPECT_EQ(host.MessageBoxes()[0].owner, nullptr);
    EXPECT_EQ(host.PictureCount(), 0u);
}

TEST_F(SpineTest, ALostDisplayIsRestoredByTheNextFlip) {
    host.SetRowPadding(8);
    host.AtBlank(10, [](FakeHost& h) { h.LoseDisplay(); });
    CloseAtBlank(20);
    EXPECT_EQ(Run(), 0);
    // The display went away while the flip of blank 10 waited: that flip showed nothing. The
    // intro shows the same picture every frame, but for the first (no picture under the
    // credits yet) and those right after the loss (the restored buffers came back black, and
    // the credits were written onto them); nothing else ever reached the screen.
    EXPECT_EQ(host.PictureCount(), 19u);
    const auto& pictures = host.Pictures();
    const auto& intro = pictures.back();
    int black = 0;
    for (std::size_t i = 1; i < pictures.size(); ++i) {
        if (pictures[i].pixels == intro.pixels) continue;
        ++black;
        EXPECT_EQ(pictures[i].PixelAt(400, 400), 0u) << "picture " << i;
    }
    // The credits trail the back buffer by one frame, and the first flip shows the front buffer
    // that the fader cleared at start-up, so three pictures come before the title.
    EXPECT_EQ(black, 3);
    EXPECT_NE(intro.PixelAt(400, 400), 0u);
}

TEST_F(SpineTest, NoFrameRunsWhileAnotherApplicationIsInFront) {
    host.AtBlank(10, [](FakeHost& h) { h.QueueEvent(HostEvent::Kind::FocusLost); });
    host.AtBlank(100, [](FakeHost& h) { h.QueueEvent(HostEvent::Kind::FocusGained); });
    CloseAtBlank(120);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(host.PictureCount(), 10u + 20u);
    EXPECT_EQ(host.Blank(), 120u);
}

TEST_F(SpineTest, RunsAgainInTheSameProcessFromAFreshStart) {
    CloseAtBlank(2);
    EXPECT_EQ(Run(), 0);
    FakeHost second;
    SetHost(&second);
    second.AtBlank(2, [](FakeHost& h) { h.QueueEvent(HostEvent::Kind::CloseRequested); });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(second.PictureCount(), 2u);
    EXPECT_EQ(game.AppActive, 1);
}

TEST_F(SpineTest, EscapeEndsTheGameWithNoFurtherFrame) {
    host.AtBlank(20, [](FakeHost& h) { h.SetKey(kScanEscape, true); });
    host.SetBlankLimit(200);
    EXPECT_EQ(Run(), 0);
    // Twenty frames, then the fade-out's thirty pictures and its black end, and no frame after
    // them.
    EXPECT_EQ(host.PictureCount(), 51u);
    const auto& last = host.Pictures().back().pixels;
    EXPECT_TRUE(std::all_of(last.begin(), last.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(game.GameInput, nullptr);
    EXPECT_FALSE(host.MouseCaptured());
}

TEST_F(SpineTest, AnInputDeviceThatCannotBeAcquiredIsReported) {
    host.SetInFront(false);
    EXPECT_EQ(Run(), kReportedFailureExitCode);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text, "Could not create direct input object");
    // The report showed the front buffer for its box; no frame ran.
    EXPECT_EQ(host.Blank(), 0u);
}

// A folder that holds none of the data files (a mistyped --data, a program started away from
// its data) is named in one report, before anything is loaded. A folder with one data file in
// it is the game's, missing the others: each of those is reported on its own.
TEST_F(SpineTest, AFolderWithoutAnyDataFileIsNamedOnceBeforeAnythingIsLoaded) {
    const std::filesystem::path gameFolder = std::filesystem::current_path();
    const testpictures::ScratchFolder folder;
    std::ofstream(folder.Path("notes.txt")) << "not a data file";
    std::filesystem::current_path(folder.Path(""));
    const int exitCode = Run();
    std::filesystem::current_path(gameFolder);
    EXPECT_EQ(exitCode, kReportedFailureExitCode);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    const std::string& text = host.MessageBoxes()[0].text;
    EXPECT_EQ(host.MessageBoxes()[0].type, MB_OK | MB_ICONERROR);
    std::string quotedFolder = "'";
    quotedFolder += std::filesystem::canonical(folder.Path("")).string();
    quotedFolder += "'";
    EXPECT_NE(text.find(quotedFolder), std::string::npos) << text;
    EXPECT_EQ(host.Blank(), 0u);

    std::filesystem::copy_file(gameFolder / "MON.WAV", folder.Path("MON.WAV"));
    FakeHost second;
    SetHost(&second);
    std::filesystem::current_path(folder.Path(""));
    EXPECT_EQ(Run(), kReportedFailureExitCode);
    std::filesystem::current_path(gameFolder);
    ASSERT_EQ(second.MessageBoxes().size(), 14u);
    EXPECT_EQ(second.MessageBoxes()[0].text, "Cant load File Pick.WAV");
}
