// SPDX-License-Identifier: MIT
// The input service over the fake host: which requests it refuses, and when a device may be
// read.

#include "platform/input/input_service.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/fake/fake_host.h"

using namespace platform;

// A record of the wrong size, or none, is refused without a byte written; a device is read
// only while acquired with its window in front, and losing the front gives up the exclusive
// mouse's hold on the pointer.
TEST(InputDevice, RefusesWrongRecordsAndReadsOnlyWhileAcquiredInFront) {
    FakeHost host;
    SetHost(&host);
    std::shared_ptr<InputService> service;
    EXPECT_EQ(DirectInputCreate(nullptr, DIRECTINPUT_VERSION - 1, &service), DIERR_INVALIDPARAM);
    EXPECT_EQ(DirectInputCreate(nullptr, DIRECTINPUT_VERSION, nullptr), DIERR_INVALIDPARAM);
    ASSERT_EQ(DirectInputCreate(nullptr, DIRECTINPUT_VERSION, &service), DI_OK);
    std::shared_ptr<InputDevice> joystick;
    EXPECT_EQ(service->CreateDevice(InputDeviceKind::Joystick, &joystick), DIERR_DEVICENOTREG);
    std::shared_ptr<InputDevice> mouse;
    ASSERT_EQ(service->CreateDevice(InputDeviceKind::Mouse, &mouse), DI_OK);
    EXPECT_EQ(mouse->SetDataFormat(InputDeviceKind::Keyboard), DIERR_INVALIDPARAM);
    EXPECT_EQ(mouse->SetAxisRange(DIJOFS_X, -10, 10), DIERR_INVALIDPARAM);

    std::array<std::uint8_t, kKeyboardStateSize> record;
    record.fill(0xAA);
    host.MoveMouse(5, -3);
    EXPECT_EQ(mouse->GetDeviceState(kMouseStateSize, record.data()), DIERR_NOTACQUIRED);
    mouse->SetCooperativeLevel(reinterpret_cast<HWND>(1), DISCL_EXCLUSIVE | DISCL_FOREGROUND);
    ASSERT_EQ(mouse->Acquire(), DI_OK);
    EXPECT_TRUE(host.MouseCaptured());
    EXPECT_EQ(mouse->GetDeviceState(kMouseStateSize - 1, record.data()), DIERR_INVALIDPARAM);
    EXPECT_EQ(mouse->GetDeviceState(kKeyboardStateSize, record.data()), DIERR_INVALIDPARAM);
    EXPECT_EQ(mouse->GetDeviceState(kMouseStateSize, nullptr), DIERR_INVALIDPARAM);
    EXPECT_TRUE(
        std::all_of(record.begin(), record.end(), [](std::uint8_t b) { return b == 0xAA; }));

    ASSERT_EQ(mouse->GetDeviceState(kMouseStateSize, record.data()), DI_OK);
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    std::memcpy(&dx, record.data() + kMouseMotionXOffset, 4);
    std::memcpy(&dy, record.data() + kMouseMotionYOffset, 4);
    EXPECT_EQ(dx, 5);
    EXPECT_EQ(dy, -3);
    EXPECT_EQ(record[kMouseStateSize], 0xAA) << "written past the mouse's record";

    host.SetInFront(false);
    EXPECT_EQ(mouse->GetDeviceState(kMouseStateSize, record.data()), DIERR_INPUTLOST);
    EXPECT_FALSE(host.MouseCaptured());
    EXPECT_EQ(mouse->GetDeviceState(kMouseStateSize, record.data()), DIERR_NOTACQUIRED);
    EXPECT_EQ(mouse->Acquire(), DIERR_OTHERAPPHASPRIO);
}
