// SPDX-License-Identifier: MIT
#include "game/spine/run_conditions.h"

#include <cstdio>
#include <cstdlib>

#include "game/kept_files/kept_file.h"
#include "game/scores/score_file.h"
#include "game/settings/settings.h"

namespace zelto {
namespace {

constexpr const char* kNoSound = "option.nosound";
constexpr const char* kMuted = "option.muted";
constexpr const char* kSensitivity = "option.sensitivity";
constexpr const char* kScoresKept = "scores.kept";
constexpr const char* kScoreTable = "scores.table";

std::string Flag(bool set) {
    return std::string(1, set ? '1' : '0');
}

bool ReadFlag(const RunConditions& conditions, const char* name, bool& flag) {
    const auto found = conditions.find(name);
    if (found == conditions.end() || (found->second != "0" && found->second != "1")) return false;
    flag = found->second == "1";
    return true;
}

}  // namespace

RunConditions ConditionsOfRun(const GameOptions& options,
                              const std::optional<std::string>& scoresFolder) {
    RunConditions conditions;
    conditions.emplace(kNoSound, Flag(options.noSound));
    conditions.emplace(kMuted, Flag(options.muted));
    char sensitivity[32];
    std::snprintf(sensitivity, sizeof(sensitivity), "%.9g",
                  static_cast<double>(options.mouseSensitivity));
    conditions.emplace(kSensitivity, std::string(sensitivity));
    conditions.emplace(kScoresKept, Flag(scoresFolder.has_value()));
    std::string table;
    if (scoresFolder && ReadKeptFile(ScoreFile(*scoresFolder).TablePath(), ScoreFile::kLargestTable,
                                     table) == KeptFileRead::kRead) {
        conditions.emplace(kScoreTable, std::move(table));
    }
    return conditions;
}

bool RecordedOptions(const RunConditions& conditions, GameOptions& options, std::string& problem) {
    GameOptions recorded;
    const auto sensitivity = conditions.find(kSensitivity);
    char* end = nullptr;
    if (sensitivity != conditions.end()) {
        recorded.mouseSensitivity = std::strtof(sensitivity->second.c_str(), &end);
    }
    if (!ReadFlag(conditions, kNoSound, recorded.noSound) ||
        !ReadFlag(conditions, kMuted, recorded.muted) || end == nullptr || *end != '\0' ||
        !(recorded.mouseSensitivity >= Settings::kLeastSensitivity &&
          recorded.mouseSensitivity <= Settings::kMostSensitivity)) {
        problem = "does not say the game's options";
        return false;
    }
    options = recorded;
    return true;
}

bool RecordedScoresKept(const RunConditions& conditions) {
    bool kept = true;
    return !ReadFlag(conditions, kScoresKept, kept) || kept;
}

std::string RecordedScoreTable(const RunConditions& conditions) {
    const auto found = conditions.find(kScoreTable);
    return found == conditions.end() ? std::string() : found->second;
}

}  // namespace zelto
