// SPDX-License-Identifier: MIT
#pragma once

// The error reporters: a fatal message, a named display-service error, and a named
// sound-service error that asks whether to go on without sound. Each shows a message box,
// posts the quit message with kReportedFailureExitCode (unless the user chose to go on) and returns
// to its caller. They need the platform's window calls only, so that every engine library can
// report; FatalError, which first shows the desktop over a screen, is the screen's (cdxscreen.h).

#include <cstdint>

#include "platform/host/win_types.h"

namespace cdx {

// The exit code of a run that a report ended, so that a launcher or a script can tell it from
// a normal quit (0).
constexpr int kReportedFailureExitCode = 1;

// Shows text in an error box owned by owner and posts the quit message.
void ReportFatalError(platform::HWND owner, const char* text);
void ReportDirectDrawError(std::int32_t code, platform::HWND owner, const char* file,
                           std::int32_t line);
void ReportDirectSoundError(std::int32_t code, platform::HWND owner);

// The published name of a result code, or "Unknown Error".
const char* DirectDrawErrorName(std::int32_t code);
const char* DirectSoundErrorName(std::int32_t code);

}  // namespace cdx
