// SPDX-License-Identifier: MIT
#pragma once

// Recorded games, for the program's entry: a run recorded through a recording host over the
// machine's own, and a recording replayed in a window at its pace or checked without a display
// on the fake host. Part of the executable, like main.cpp: only these name the hosts.

#include <memory>
#include <string>

#include "game/settings/settings.h"
#include "game/spine/command_line.h"
#include "game/world/world.h"
#include "platform/host/host.h"
#include "platform/record/recording_host.h"

namespace zelto {

// The game's state in words, for a replay's report.
std::string DescribeGameState(const Game& game);

// The header of a recording of this run: the program's version, the data set in the current
// folder, and the run's conditions (its options and the kept scores).
platform::RecordingHeader HeaderOfRun(const GameOptions& options, const char* version);

// A recording host over host writing to file, for a run with options; null, after one line on the
// error stream, when the file cannot be made.
std::unique_ptr<platform::RecordingHost> StartRecording(platform::Host& host,
                                                        const std::string& file,
                                                        const GameOptions& options,
                                                        const char* version);
// Ends the recording; false, after one line on the error stream, when it could not be kept.
bool FinishRecording(platform::RecordingHost& recorder, const std::string& file);

// Replays line.replayFile, in a window as settings say or, with --verify, on the fake host;
// the exit code: 0 when every picture and sound matched (up to the last whole picture of a
// recording cut short) or the viewer ended it, 1 after one line saying what went wrong.
int ReplayRecordedGame(const CommandLine& line, const Settings& settings, const char* version);

}  // namespace zelto
