// SPDX-License-Identifier: MIT
#include "platform/host/window.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/fake/fake_host.h"

using namespace platform;

namespace {

std::vector<UINT> seen;

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back(message);
    if (message == WM_CLOSE) {
        PostQuitMessage(7);
        return 0;
    }
    return DefWindowProc(window, message, wParam, lParam);
}

HWND MakeWindow() {
    WNDCLASS windowClass;
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.lpszClassName = "Test";
    EXPECT_TRUE(RegisterClass(&windowClass));
    return CreateWindowEx(0, "Test", "title", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr,
                          nullptr);
}

}  // namespace

TEST(WindowSystem, ShowingActivatesThenHostEventsBecomeMessagesInOrder) {
    FakeHost host;
    SetHost(&host);
    seen.clear();
    HWND window = MakeWindow();
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    host.QueueEvent(HostEvent::Kind::FocusLost);
    host.QueueEvent(HostEvent::Kind::CloseRequested);
    MSG message;
    while (GetMessage(&message, nullptr, 0, 0)) DispatchMessage(&message);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_ACTIVATEAPP, WM_SETCURSOR, WM_ACTIVATEAPP, WM_CLOSE}));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 7u);
}

TEST(WindowSystem, SendRunsTheProcedureAtOnceAndPeekCanLeaveTheMessage) {
    FakeHost host;
    SetHost(&host);
    seen.clear();
    HWND window = MakeWindow();
    EXPECT_EQ(SendMessage(window, WM_SETCURSOR, 0, 0), 0);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_SETCURSOR}));
    PostQuitMessage(0);
    MSG message;
    EXPECT_TRUE(PeekMessage(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_FALSE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST(WindowSystem, DefaultCloseDestroysTheWindowAndANullCursorHidesThePointer) {
    FakeHost host;
    SetHost(&host);
    HWND window = MakeWindow();
    SetCursor(nullptr);
    EXPECT_FALSE(host.CursorVisible());
    DefWindowProc(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(host.WindowOpen());
    EXPECT_EQ(MainWindowOfHost(), nullptr);
    // Messages for a destroyed window are not delivered anywhere.
    EXPECT_EQ(SendMessage(window, WM_CLOSE, 0, 0), 0);
}

TEST(WindowSystem, KeepsTheProgramsOwnValueUntilDestroyed) {
    FakeHost host;
    SetHost(&host);
    int state = 0;
    HWND window = MakeWindow();
    EXPECT_EQ(GetWindowLongPtr(window, GWLP_USERDATA), 0);
    const auto value = reinterpret_cast<LONG_PTR>(&state);
    EXPECT_EQ(SetWindowLongPtr(window, GWLP_USERDATA, value), 0);
    EXPECT_EQ(SetWindowLongPtr(window, GWLP_USERDATA, value), value);
    EXPECT_EQ(GetWindowLongPtr(window, GWLP_USERDATA), value);
    // Another index is not the user data, and writes nothing.
    EXPECT_EQ(SetWindowLongPtr(window, 0, 1), 0);
    EXPECT_EQ(GetWindowLongPtr(window, GWLP_USERDATA), value);
    DestroyWindow(window);
    EXPECT_EQ(GetWindowLongPtr(window, GWLP_USERDATA), 0);
    EXPECT_EQ(SetWindowLongPtr(window, GWLP_USERDATA, value), 0);
}

TEST(WindowSystem, MessageBoxesAreRecordedWithScriptedAnswers) {
    FakeHost host;
    SetHost(&host);
    host.AnswerMessageBoxes({IDNO});
    EXPECT_EQ(MessageBox(nullptr, "Go on?", "Error", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox(nullptr, "Again?", "Error", MB_YESNO), IDYES);
    ASSERT_EQ(host.MessageBoxes().size(), 2u);
    EXPECT_EQ(host.MessageBoxes()[0].text, "Go on?");
    EXPECT_EQ(host.MessageBoxes()[0].caption, "Error");
}
