// SPDX-License-Identifier: MIT
#pragma once

// What a recorded game keeps of the run beside the machine's readings, and puts back in force
// for a replay: the game's options (a replay plays with the recorded ones, whatever the
// replaying machine's settings say) and the best-scores table as the run found it, whose best
// score the Game Over screen shows.

#include <map>
#include <optional>
#include <string>

#include "game/world/game_options.h"

namespace zelto {

using RunConditions = std::map<std::string, std::string>;

// The run's conditions: its options, and the table in scoresFolder (none: no scores are kept).
RunConditions ConditionsOfRun(const GameOptions& options,
                              const std::optional<std::string>& scoresFolder);

// The recorded options; false with the reason when the conditions do not say them.
bool RecordedOptions(const RunConditions& conditions, GameOptions& options, std::string& problem);
// Whether the run kept scores, and the table it found (empty: none).
bool RecordedScoresKept(const RunConditions& conditions);
std::string RecordedScoreTable(const RunConditions& conditions);

}  // namespace zelto
