// SPDX-License-Identifier: MIT
#include "platform/record/recording.h"

namespace platform {

const char* EntryName(EntryKind kind) {
    switch (kind) {
        case EntryKind::Keyboard:
            return "a keyboard reading";
        case EntryKind::Mouse:
            return "a mouse reading";
        case EntryKind::JoystickAttached:
            return "whether a joystick is attached";
        case EntryKind::Joystick:
            return "a joystick reading";
        case EntryKind::Events:
            return "the window's events";
        case EntryKind::InFront:
            return "whether the window is in front";
        case EntryKind::Counter:
            return "the performance counter";
        case EntryKind::Frequency:
            return "the counter's frequency";
        case EntryKind::Milliseconds:
            return "the millisecond clock";
        case EntryKind::Seconds:
            return "the time of day";
        case EntryKind::MessageBox:
            return "a message box's answer";
        case EntryKind::OpenSound:
            return "a sound device";
        case EntryKind::DisplayModes:
            return "the display modes";
        case EntryKind::DesktopSize:
            return "the desktop's size";
        case EntryKind::OpenWindow:
            return "a window";
        case EntryKind::SetDisplayMode:
            return "a display mode";
        case EntryKind::SoundStatus:
            return "a sound's status";
        case EntryKind::Frame:
            return "a picture";
        case EntryKind::End:
            return "the end of the program";
    }
    return "an unknown entry";
}

}  // namespace platform
