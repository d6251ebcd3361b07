// SPDX-License-Identifier: MIT
#include "cdx/input/cdxinput.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_host.h"

using namespace cdx;

using namespace platform;

namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetHost(&host);
        ASSERT_EQ(input.Create(nullptr, reinterpret_cast<HWND>(1), 1), 1);
    }
    FakeHost host;
    CDXInput input;
};

}  // namespace

TEST(KeyStates, ScanCodeTableHasItsHundredUniqueKeysAndPause) {
    const auto& table = ScanCodeKeyCodes();
    int mapped = 0;
    bool seen[256] = {};
    for (std::uint32_t code : table) {
        if (code == 0) continue;
        ++mapped;
        ASSERT_LT(code, 256u);
        EXPECT_FALSE(seen[code]) << "key code " << code << " twice";
        seen[code] = true;
    }
    EXPECT_EQ(mapped, 101);
    EXPECT_EQ(table[kScanPause], kKeyPause);
    EXPECT_EQ(table[kScanA], 97u);  // A is 'a', never 'A'
    EXPECT_EQ(table[kScanSpace], 32u);
    EXPECT_EQ(table[kScanEscape], 27u);
    EXPECT_EQ(table[kScanDelete], 151u);
}

TEST_F(InputTest, AHeldKeyIsPressedThenHeldThenReleasedThenUp) {
    host.SetKey(kScanA, true);
    std::vector<int> seen;
    for (int i = 0; i < 3; ++i) {
        input.Update();
        seen.push_back(input.GetKeyState(97));
    }
    host.SetKey(kScanA, false);
    for (int i = 0; i < 2; ++i) {
        input.Update();
        seen.push_back(input.GetKeyState(97));
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 3, 3, 1, 0}));
    // Down again right after the release: from released straight to pressed.
    host.SetKey(kScanA, true);
    input.Update();
    host.SetKey(kScanA, false);
    input.Update();
    host.SetKey(kScanA, true);
    input.Update();
    EXPECT_EQ(input.GetKeyState(97), KeyPressed);
}

TEST_F(InputTest, APressAndReleaseBetweenTwoUpdatesIsNotSeen) {
    input.Update();
    host.SetKey(kScanEscape, true);
    host.SetKey(kScanEscape, false);
    input.Update();
    EXPECT_EQ(input.GetKeyState(27), KeyUp);
}

TEST_F(InputTest, MouseMotionAddsUpAndButtonsAreKeyCodes) {
    host.MoveMouse(3, -2);
    input.Update();
    host.MoveMouse(3, -2);
    input.Update();
    std::int32_t x = 0, y = 0;
    input.GetMousePos(&x, &y);
    EXPECT_EQ(x, 6);
    EXPECT_EQ(y, -4);
    EXPECT_TRUE(host.MouseCaptured());

    host.SetMouseButton(0, true);
    input.Update();
    EXPECT_EQ(input.GetKeyState(256), KeyPressed);
    EXPECT_EQ(input.GetKeyState(259), KeyUp);
    EXPECT_EQ(input.GetKeyState(256 + 0x10000), KeyPressed);  // only the low 16 bits count
    EXPECT_EQ(input.GetKeyState(5000), KeyUp);
}

// A frame's motion is what the clamped position moved since the previous frame, over every
// update between them; forgetting takes the motion made so far out of this frame and the next.
TEST_F(InputTest, AFramesMotionIsTheClampedPositionsChangeAndForgettingLeavesNone) {
    input.MouseFactor = 2.0f;
    input.MouseUpperX = 20;
    host.MoveMouse(3, 1);
    input.Update();
    host.MoveMouse(2, -4);
    host.SetKey(kScanP, true);
    input.Update();
    const InputFrame& first = input.TakeFrame();
    EXPECT_EQ(first.MotionX, 10);
    EXPECT_EQ(first.MotionY, -6);
    EXPECT_EQ(first.Key('p'), KeyPressed);
    EXPECT_EQ(first.Key('p' + 0x10000), KeyPressed);
    EXPECT_EQ(first.Key(kKeyCodeCount), KeyUp);

    host.MoveMouse(7, 0);
    input.Update();
    const InputFrame& clamped = input.TakeFrame();
    EXPECT_EQ(clamped.MotionX, 9);  // stopped at 19, below the upper bound
    EXPECT_EQ(clamped.MotionY, 0);
    EXPECT_EQ(clamped.Key('p'), KeyHeld);

    host.MoveMouse(-5, 5);
    input.Update();
    input.TakeFrame();
    input.ForgetMotion();
    EXPECT_EQ(input.Frame().MotionX, 0);
    EXPECT_EQ(input.Frame().MotionY, 0);
    input.Update();
    EXPECT_EQ(input.TakeFrame().MotionX, 0);
    host.MoveMouse(-1, 2);
    input.Update();
    const InputFrame& after = input.TakeFrame();
    EXPECT_EQ(after.MotionX, -2);
    EXPECT_EQ(after.MotionY, 4);
}

TEST_F(InputTest, AFailedKeyboardReadReacquiresAndClearsEveryKey) {
    host.SetKey(kScanA, true);
    host.SetMouseButton(0, true);
    input.Update();
    input.Update();
    ASSERT_EQ(input.GetKeyState(97), KeyHeld);
    host.FailKeyboardReads(1);
    host.MoveMouse(10, 10);
    input.Update();
    EXPECT_EQ(input.GetKeyState(97), KeyUp);
    EXPECT_EQ(input.GetKeyState(256), KeyUp);
    // The mouse was not read at that update: its motion is still there for the next one.
    std::int32_t x = 0;
    input.GetMousePos(&x, nullptr);
    EXPECT_EQ(x, 0);
    input.Update();
    input.GetMousePos(&x, nullptr);
    EXPECT_EQ(x, 10);
}

TEST_F(InputTest, DevicesOfAWindowNotInFrontAreNotRead) {
    host.SetKey(kScanA, true);
    input.Update();
    host.SetInFront(false);
    input.Update();
    EXPECT_EQ(input.GetKeyState(97), KeyPressed);  // unread: the states keep their values
    host.SetInFront(true);
    input.Update();  // the failed read re-acquired the keyboard and cleared the keys
    input.Update();
    EXPECT_EQ(input.GetKeyState(97), KeyPressed);
}

TEST(Input, JoystickButtonsAndCreationWithoutOne) {
    FakeHost host;
    SetHost(&host);
    {
        CDXInput input;
        EXPECT_EQ(input.Create(nullptr, reinterpret_cast<HWND>(1), 1), 1);
        EXPECT_FALSE(input.Joystick);
    }
    host.AttachJoystick(true);
    CDXInput input;
    ASSERT_EQ(input.Create(nullptr, reinterpret_cast<HWND>(1), 1), 1);
    host.SetJoystickButton(9, true);
    input.Update();
    EXPECT_EQ(input.GetKeyState(269), KeyPressed);
    input.Release();
    EXPECT_FALSE(host.MouseCaptured());
}

TEST(Input, CreationFailsWhenTheWindowIsNotInFront) {
    FakeHost host;
    SetHost(&host);
    host.SetInFront(false);
    CDXInput input;
    EXPECT_EQ(input.Create(nullptr, reinterpret_cast<HWND>(1), 1), 0);
    EXPECT_EQ(input.MouseAcquired, 0);
}
