// SPDX-License-Identifier: MIT
#include "cdx/error/cdxerror.h"

#include <gtest/gtest.h>

#include <string>

#include "cdx/surface/cdxscreen.h"
#include "platform/fake/fake_host.h"
#include "platform/host/display_types.h"
#include "platform/host/window.h"

using namespace cdx;

using namespace platform;

namespace {

bool QuitPosted() {
    MSG message;
    return PeekMessage(&message, nullptr, 0, 0, PM_REMOVE) && message.message == WM_QUIT;
}

}  // namespace

TEST(ErrorReports, DirectDrawErrorNamesTheCodeTheFileAndTheLine) {
    FakeHost host;
    SetHost(&host);
    ReportDirectDrawError(DDERR_SURFACELOST, nullptr, "cdxscreen", 217);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    const auto& box = host.MessageBoxes()[0];
    EXPECT_EQ(box.text, "DirectDraw Error DDERR_SURFACELOST\nFILE: cdxscreen\nLINE: 217");
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.type, MB_OK);
    EXPECT_TRUE(QuitPosted());
}

TEST(ErrorReports, EveryPublishedCodeHasItsNameAndOthersAreUnknown) {
    EXPECT_STREQ(DirectDrawErrorName(DDERR_GENERIC), "DDERR_GENERIC");
    EXPECT_STREQ(DirectDrawErrorName(DDERR_NOTPAGELOCKED), "DDERR_NOTPAGELOCKED");
    EXPECT_STREQ(DirectDrawErrorName(DDERR_OUTOFMEMORY), "DDERR_OUTOFMEMORY");
    EXPECT_STREQ(DirectDrawErrorName(0x12345678), "Unknown Error");
    EXPECT_STREQ(DirectDrawErrorName(0), "Unknown Error");
    EXPECT_STREQ(DirectSoundErrorName(static_cast<std::int32_t>(0x80004005u)), "DSERR_GENERIC");
    EXPECT_STREQ(DirectSoundErrorName(static_cast<std::int32_t>(0x887600A0u)), "Unknown Error");
}

TEST(ErrorReports, DirectSoundErrorAsksAndOnlyNoEndsTheProgram) {
    FakeHost host;
    SetHost(&host);
    host.AnswerMessageBoxes({IDYES, IDNO});
    ReportDirectSoundError(static_cast<std::int32_t>(0x88780078u), nullptr);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text,
              "DirectSound Error 'DSERR_NODRIVER.'\nContinue with Sound turned off?");
    EXPECT_EQ(host.MessageBoxes()[0].type, MB_YESNO);
    EXPECT_FALSE(QuitPosted());
    ReportDirectSoundError(12345, nullptr);
    EXPECT_EQ(host.MessageBoxes()[1].text,
              "DirectSound Error 'Unknown Error.'\nContinue with Sound turned off?");
    EXPECT_TRUE(QuitPosted());
}

TEST(ErrorReports, FatalErrorFormatsCutsLongMessagesAndPostsQuit) {
    FakeHost host;
    SetHost(&host);
    FatalError(nullptr, "Cant load File %s", "MON.WAV");
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text, "Cant load File MON.WAV");
    EXPECT_EQ(host.MessageBoxes()[0].owner, nullptr);
    EXPECT_EQ(host.MessageBoxes()[0].type, MB_OK | MB_ICONERROR);
    EXPECT_TRUE(QuitPosted());
    const std::string longText(5000, 'x');
    FatalError(nullptr, "%s", longText.c_str());
    EXPECT_EQ(host.MessageBoxes()[1].text.size(), 1023u);
}
