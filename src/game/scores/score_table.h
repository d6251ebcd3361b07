// SPDX-License-Identifier: MIT
#pragma once

// The table of the ten best scores, each with the date it was made, and its text form:
//
//     zelto scores 1
//     1200 2026-12-09T10:11:52Z
//     840 2026-12-01T20:03:17Z
//
// The first line names the format and its version; then one line per score, best first, the
// date in UTC. Equal scores rank by date, the earlier first: a later game has to beat a score
// to take its place.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelto {

struct ScoreEntry {
    std::int32_t score = 0;
    // YYYY-MM-DDTHH:MM:SSZ, which sorts as the time it names.
    std::string date;
};

class ScoreTable {
public:
    static constexpr std::size_t kKept = 10;
    static constexpr std::string_view kFormatLine = "zelto scores 1";

    // The table the text holds, or nothing when the text is not a whole table of this format
    // (another first line, a malformed line, a missing final newline).
    static std::optional<ScoreTable> Parse(std::string_view text);
    std::string Format() const;

    // Puts the entry in its place; the table keeps its ten best.
    void Enter(const ScoreEntry& entry);
    const std::vector<ScoreEntry>& Entries() const { return entries_; }
    // The best score, 0 for an empty table.
    std::int32_t Best() const;

private:
    std::vector<ScoreEntry> entries_;
};

// The date in the table's form for a time in seconds since 1970.
std::string UtcDate(std::int64_t secondsSince1970);

}  // namespace zelto
